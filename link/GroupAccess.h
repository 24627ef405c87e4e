#pragma once

#include <string>

// Who may open a device node through its group: the group that owns it,
// whether the running user is a member of it in the group file (primary
// group included), and whether the running session already has it
// (getgroups; a membership added later needs a new login).
struct CGroupAccess {
    std::string group;  // empty when the node or its group cannot be read
    std::string userName;
    bool userInGroup = false;
    bool sessionInGroup = false;

    static CGroupAccess Of(const std::string& devicePath,
                           const std::string& groupFile = "/etc/group");
};
