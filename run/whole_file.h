#pragma once

#include <functional>

#include <QString>

class QIODevice;

namespace wienbridge {

// Writes a file whole or not at all, the one way every file of the program is
// written: `write` fills it and says whether all went well; the file appears
// under `path` only once whole, and a file that was there stays as it was
// until then. Should `write` throw, nothing is written and the exception goes
// on. Everything happens on the calling thread. A path that names no regular
// file but a device or a pipe (/dev/stdout) is written straight, since there
// is nothing there to keep. Returns whether the file was written.
bool writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write);

}  // namespace wienbridge
