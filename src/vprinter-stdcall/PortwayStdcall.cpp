// The port library with the stdcall convention (see StdcallExport.h).
#include "vprinter-stdcall/StdcallExport.h"

#include "vprinter/Portway.cpp"
