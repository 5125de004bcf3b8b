#pragma once
// Where a save writes and what it says when it cannot: the folder a typed one stands for, and the
// words for a failure, chosen from plain facts so that each case can be checked without a disk.
#include <string>
#include <vector>

namespace saveplace {

// The folder a typed one stands for. A relative folder counts from the program's folder, never
// from the working folder, which for a program started at log-on is the system's own; "\shots"
// is on the program's drive and "D:shots" at the root of D:. Empty (the default folder) and full
// paths stay as they are.
std::wstring ResolveFolder(const std::wstring& typed, const std::wstring& programFolder);

// Whether path is one of the folders or lies inside one, compared without regard to case.
bool InsideAny(const std::wstring& path, const std::vector<std::wstring>& folders);

struct Failure {
    bool folder = false;          // a folder the save would make, else the file
    std::wstring path;            // as the user named it
    unsigned long code = 0;       // the platform's error code
    std::wstring systemText;      // the platform's words for it, without a full stop
    bool driveMissing = false;    // the path names a drive that does not exist
    bool protectedPlace = false;  // inside a folder that Controlled folder access guards
    std::wstring fileInTheWay;    // a file with the name of a folder the path needs, if one is
};
// "Cannot create file "<path>". " or "Cannot create folder "<path>". ", then why: the drive that
// is missing, the file in the way, Controlled folder access and what to do about it when access
// was refused inside a folder it guards, else the platform's words.
std::wstring FailureText(const Failure& failure);

}  // namespace saveplace
