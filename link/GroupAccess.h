#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Who may open a device node through its group: the group that owns it,
// whether that group may read and write it at all, whether the running user
// is a member of it (as the name service says, so LDAP or SSSD groups count
// too), and whether the running session already has it (getgroups; a
// membership added later needs a new login).
struct CGroupAccess {
    std::string group;  // empty when the node or its group cannot be read
    std::string owner;  // the owning user's name (its number if it has none)
    unsigned mode = 0;  // the permission bits, e.g. 0660
    // The group may read and write the device, and it is not the root group:
    // only then can joining it be the remedy.
    bool groupGrantsAccess = false;
    std::string userName;
    bool userInGroup = false;
    bool sessionInGroup = false;

    // The groups a user belongs to, primary group included.
    using MemberLookup = std::function<std::vector<gid_t>(const std::string& user, gid_t primary)>;

    // Without a lookup, the name service is asked (getgrouplist).
    static CGroupAccess Of(const std::string& devicePath, const MemberLookup& groupsOf = {});
    static std::vector<gid_t> GroupsFromNameService(const std::string& user, gid_t primary);
};
