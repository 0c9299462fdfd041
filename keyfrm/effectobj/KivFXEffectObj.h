// The effect objects.
#pragma once
