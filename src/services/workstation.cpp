#include "services/accounts.h"
#include "services/net_buffer.h"

bool WorkstationRunning()
{
    NetBuffer info;
    return Platform().NetWkstaGetInfo(nullptr, 100, &info) == NERR_Success;
}
