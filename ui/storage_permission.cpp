#include "storage_permission.h"

namespace StoragePermission {

void Request(const QStringList &permissions, const TRationale &, const TResultHandler &handler)
{
    // A desktop grants at once and never needs the rationale.
    handler(permissions, std::vector<TGrant>(permissions.size(), TGrant::Granted));
}

} // namespace StoragePermission
