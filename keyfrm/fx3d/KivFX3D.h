// The 3-D effect, particle, emitter and colour mask keyframes.
#pragma once
