#include "platform/downloads.h"

namespace platform {

std::string StatusName(TransferStatus status)
{
    switch (status) {
    case TransferStatus::Idle: return "Idle";
    case TransferStatus::Running: return "Running";
    case TransferStatus::PausedByApplication: return "PausedByApplication";
    case TransferStatus::PausedCostedNetwork: return "PausedCostedNetwork";
    case TransferStatus::PausedNoNetwork: return "PausedNoNetwork";
    case TransferStatus::Completed: return "Completed";
    case TransferStatus::Canceled: return "Canceled";
    case TransferStatus::Error: return "Error";
    case TransferStatus::PausedSystemPolicy: return "PausedSystemPolicy";
    }
    return "Windows.Networking.BackgroundTransfer.BackgroundTransferStatus";
}

} // namespace platform
