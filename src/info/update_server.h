#pragma once
// Where the update check looks for the version file and the archive, and how long it
// waits for the server.
#include <string>

#include "platform/http_client.h"
#include "platform/proxy_plan.h"

namespace tastomat {

struct UpdateServer {
    std::string base_url;  // ends with "/"; the file names are appended to it
    HttpTimeouts timeouts;
    // The system's proxy where the system offers it, the user's settings where not.
    ProxySource proxy = ProxySource::System;
};

// Fixed for each build of the program and defined once per executable: the shipped
// program has the server configured in the build (update_server.cpp); the build the
// end-to-end scenarios run takes a loopback server from its test environment.
const UpdateServer& update_server();

}  // namespace tastomat
