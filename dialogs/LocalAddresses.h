#pragma once
// The IPv4 addresses this computer's host name resolves to.
#include <string>
#include <vector>

// Dotted text, in the order the lookup gives them (loopback included);
// empty when the name cannot be read or resolved.
std::vector<std::string> LookUpHostAddresses();
