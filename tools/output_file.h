// Files tidemere-render writes: whole or not at all.
#pragma once

#include <QImage>
#include <string>

// Writes `bytes` to `path` through a temporary file beside it, renamed over
// it once every byte is written and flushed: a write that fails (a full
// disk, a missing folder) leaves neither a partial file nor a changed one. A
// path that is not a regular file (a device such as /dev/null or /dev/full,
// a pipe) is written in place. False, with a message that names the path and
// the system's reason, when anything fails.
bool WriteOutputFile(const std::string& path, const std::string& bytes, std::string& error);

// The image as a PNG file (straight alpha), written as WriteOutputFile does.
bool WritePng(const QImage& image, const std::string& path, std::string& error);
