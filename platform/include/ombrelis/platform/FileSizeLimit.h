#pragma once

namespace ombrelis::platform {

/// From now on a write past the process's file-size limit (`ulimit -f`) fails with its own
/// error, as on a full disk, instead of killing the process (SIGXFSZ): the run then cuts back
/// the part of a record it could not finish and says why. For the whole process; call it at
/// start. Windows sets no such limit.
void writesPastFileSizeLimitFail();

} // namespace ombrelis::platform
