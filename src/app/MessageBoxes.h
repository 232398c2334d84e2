// The message boxes the window shows are the batch's: one interface, so that
// the window, the driver and the tests share one answering implementation.
#pragma once

#include "batch/IMessageBoxes.h"
