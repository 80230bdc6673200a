#include "io/SmlLog.h"

bool IsSmlLog(std::string_view) { return false; }
void IndexSmlLog(CSessionBuilder&, std::string_view) {}
