#pragma once

#include <string>

namespace comun {

// What a system error number means, in Spanish, for any file operation
// (reading, writing, deleting, renaming); a plain numbered text for the rare
// ones, never the system's English words.
std::string causasistema(int error);

// The usual reason a file couldn't be written, in Spanish, from the system's
// error number; empty for a reason without a Spanish text of its own.
std::string causaescritura(int error);

// Why writing `bytes` bytes to the file at `ruta` failed with `error`, in
// Spanish and never empty. When the error number says nothing of its own
// (the toolkit doesn't always keep it), the folder itself is asked what
// stands in the way: a read-only file system, a full disk, a name too long,
// no permission.
std::string porquenoseescribio(int error, const std::string& ruta, long long bytes);

} // namespace comun
