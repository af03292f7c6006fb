#pragma once
// The fixture lives with the shared test support.
#include "support/programs_test.h"
