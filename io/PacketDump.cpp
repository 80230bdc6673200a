#include "io/PacketDump.h"

bool IsPacketDump(std::string_view) { return false; }
void IndexPacketDump(CSessionBuilder&, std::string_view, int) {}
