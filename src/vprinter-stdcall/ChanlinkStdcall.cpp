// The channel library with the stdcall convention (see StdcallExport.h).
#include "vprinter-stdcall/StdcallExport.h"

#include "vprinter/Chanlink.cpp"
