#pragma once

#include <string>
#include <vector>

#include "link/NetAddress.h"

// The open TCP connections to a network address, as the kernel lists them
// in <proc>/net/tcp and tcp6: each as "socket:[<inode>]", the way
// /proc/<pid>/fd names it, so that FindDeviceHolders finds the programs
// that hold them. Only a host written as an IPv4 or IPv6 address is looked
// for; a name is never resolved here (that could block).
std::vector<std::string> TcpSocketsTo(const CNetAddress& address,
                                      const std::string& procRoot = "/proc");
