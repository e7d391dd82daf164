// The shipped program's update server, as configured in the build.
#include "info/update_server.h"

#include "update_url.h"

namespace tastomat {

const UpdateServer& update_server() {
    // Long enough for a slow line, short enough that a server which takes the connection
    // and never answers gives the program back within half a minute.
    static const UpdateServer server{TASTOMAT_UPDATE_BASE_URL,
                                     HttpTimeouts{15000, 15000, 30000, 30000}};
    return server;
}

}  // namespace tastomat
