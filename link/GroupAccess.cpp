#include "link/GroupAccess.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

std::vector<gid_t> CGroupAccess::GroupsFromNameService(const std::string& user, gid_t primary) {
    int count = 32;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    // A user in more groups than there is room for gets the count needed; ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int room = count;
        if (::getgrouplist(user.c_str(), primary, groups.data(), &count) >= 0) {
            groups.resize(static_cast<size_t>(count));
            return groups;
        }
        count = std::max(count, room * 2);
        groups.resize(static_cast<size_t>(count));
    }
    return {primary};
}

CGroupAccess CGroupAccess::Of(const std::string& devicePath, const MemberLookup& groupsOf) {
    CGroupAccess access;
    struct stat info {};
    if (::stat(devicePath.c_str(), &info) != 0) {
        return access;
    }
    const gid_t gid = info.st_gid;
    if (const struct group* entry = ::getgrgid(gid)) {
        access.group = entry->gr_name;
    } else {
        access.group = std::to_string(gid);
    }
    if (const struct passwd* owner = ::getpwuid(info.st_uid)) {
        access.owner = owner->pw_name;
    } else {
        access.owner = std::to_string(info.st_uid);
    }
    access.mode = info.st_mode & 07777;
    access.groupGrantsAccess =
        gid != 0 && (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (const struct passwd* user = ::getpwuid(::geteuid())) {
        access.userName = user->pw_name;
        const std::vector<gid_t> groups =
            groupsOf ? groupsOf(access.userName, user->pw_gid)
                     : GroupsFromNameService(access.userName, user->pw_gid);
        access.userInGroup = std::find(groups.begin(), groups.end(), gid) != groups.end();
    }
    access.sessionInGroup = ::getegid() == gid;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) == count) {
        access.sessionInGroup =
            access.sessionInGroup || std::find(groups.begin(), groups.end(), gid) != groups.end();
    }
    return access;
}
