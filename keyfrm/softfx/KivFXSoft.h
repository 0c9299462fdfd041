// The soft (2-D) effect keyframes.
#pragma once
