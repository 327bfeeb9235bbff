#include <winsock2.h>
#include <ws2tcpip.h>

#include "dialogs/LocalAddresses.h"

#include <cstdio>

std::vector<std::string> LookUpHostAddresses() {
    std::vector<std::string> addresses;
    char name[260] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return addresses;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;  // one answer per address, not one per socket type
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0) return addresses;
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || !entry->ai_addr ||
            entry->ai_addrlen < sizeof(sockaddr_in))
            continue;
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        const auto* bytes = reinterpret_cast<const unsigned char*>(&ipv4->sin_addr);
        char text[16];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
        addresses.push_back(text);
    }
    ::freeaddrinfo(found);
    return addresses;
}
