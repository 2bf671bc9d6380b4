#include "files/replaced_file.h"

#include <io.h>
#include <vector>
#include <windows.h>

namespace quarvel {
namespace {

std::error_code lastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

} // namespace

std::filesystem::path followLinks(const std::filesystem::path& path, std::error_code&) {
    // The system follows the links in opening; the open handle names where they led.
    const HANDLE file =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // No file yet: a new one is made where the path says.
        return path;
    }
    std::vector<wchar_t> name(MAX_PATH);
    DWORD length = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                               VOLUME_NAME_DOS);
    if (length >= name.size()) {
        name.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                             VOLUME_NAME_DOS);
    }
    ::CloseHandle(file);
    // A volume without a drive letter has no such name: the path as given still reaches it.
    if (length == 0 || length >= name.size()) {
        return path;
    }
    return std::filesystem::path(std::wstring(name.data(), length));
}

std::string whyNotReplaceable(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return "the file is read-only";
    }
    return {};
}

std::error_code syncToDisk(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    return ::FlushFileBuffers(handle) != 0 ? std::error_code() : lastError();
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                            bool) {
    // A file that is there is replaced with its attributes and access rights kept; a new one
    // is moved into place.
    if (::GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, 0, nullptr, nullptr) == 0) {
            return lastError();
        }
        return {};
    }
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return lastError();
    }
    return {};
}

} // namespace quarvel
