// An SQLite virtual file system over the current platform's files, so that
// the databases the program reads and writes live wherever the platform
// keeps files: on disk under Windows, in the simulated machine in the tests.
// Locks are not taken: the program is the one process that opens its
// database, and it reads a browser's only while the browser is closed.
#pragma once

namespace orvix {

// The name of the file system; registered (once) by the first call.
const char* PlatformVfsName();

}  // namespace orvix
