#include "engine/net/MisbehavingSenders.h"

#include "engine/core/LogHub.h"
#include "engine/net/NetSocket.h"

void MisbehavingSenders::Refused(uint32_t sender, const WideString& fault)
{
    const auto listed = refused_.find(sender);
    if (listed != refused_.end()) {
        ++listed->second;
        return;
    }
    if (refused_.size() >= kMostSenders) {
        return;
    }
    refused_.emplace(sender, 1);
    LogHub::PrintWarning("Network: ignoring a server announcement %s, and what else it sends until it announces a game",
                         fault.c_str());
}

void MisbehavingSenders::Behaved(uint32_t sender)
{
    const auto listed = refused_.find(sender);
    if (listed == refused_.end()) {
        return;
    }
    if (listed->second > 1) {
        LogHub::PrintVerbose("Network: %s announces a game after %d ignored datagrams",
                             FormatAddress(sender).c_str(), listed->second);
    }
    refused_.erase(listed);
}
