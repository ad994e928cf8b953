#pragma once

#include <string>
#include <string_view>

namespace db {

// The PostgreSQL driver keeps two log files (a communication log and a debug
// log) and decides whether to write them from two places: the connection's
// own CommLog/Debug and, whenever no connection of the process is open, the
// driver's registration in odbcinst.ini. Debian registers the driver with
// CommLog=1, so every process that opened a company would leave a
// psqlodbc_*.log in /tmp at its last disconnect, whatever its connection
// said. The driver reads its registration through the shared odbcinst
// library, which names the file once per process and keeps that name; so
// before its first connection the process gives that library a copy of the
// registration, held in memory, with the driver's logs off. The driver
// manager keeps reading the registration as installed, and so do child
// processes. Logs asked for on a connection or in a data source
// (CommLog=1, Debug=1) are written as before.
//
// Once per process; does nothing when the registration cannot be read or the
// library has already named its file.
void KeepDriverLogsOff();

// The registration text with every CommLog and Debug entry set to 0; the
// rest (comments, other entries, spacing) as it was.
std::string WithDriverLogsOff(std::string_view registration);

}  // namespace db
