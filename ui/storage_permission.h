#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The platform's storage-permission service. Desktop platforms grant every request at once, inside
// the call that asked; a platform that asks the user may first want the reason told (the
// rationale) and answers later.
namespace StoragePermission {

enum class TGrant { Granted, Denied };

// The platform name of the write-storage permission; empty where nothing needs granting.
inline const QString FPermissionWriteExternalStorage;

using TRationale =
    std::function<void(const QStringList &permissions, std::function<void()> continueRequest)>;
using TResultHandler =
    std::function<void(const QStringList &permissions, const std::vector<TGrant> &grants)>;

void Request(const QStringList &permissions, const TRationale &rationale,
             const TResultHandler &handler);

} // namespace StoragePermission
