#pragma once

#include <QString>

namespace Lanvo {

class IPrompts;

// The largest entry we ever inflate, whatever the archive declares.
inline constexpr qint64 ZipEntryCap = qint64(1) << 30;

// Extracts every entry of the zip archive into the existing directory Dir under its bare file name,
// never overwriting or following anything already there, then makes the files writable. Leaves Dir
// as the current directory. Entries that can't be extracted are reported through Prompts and skipped;
// an archive that can't be read throws "Error reading Zip File".
void ExtractArchive(const QString &archive, const QString &dir, IPrompts *prompts, qint64 entryCap = ZipEntryCap);

// Makes every plain file of Dir writable by its owner; failures of single files are ignored.
void ClearAttributes(const QString &dir);

} // namespace Lanvo
