#pragma once

#define IDI_FERNWICKHOLD 1
