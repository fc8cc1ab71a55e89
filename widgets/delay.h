#pragma once
// Delay lives in the link core now; this header forwards until every includer names it there.
#include "connection/delay.h"
