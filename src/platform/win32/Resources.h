// Resource identifiers shared by Pendulix.rc and the code that loads them.
#pragma once

#define IDI_PENDULIX 1
