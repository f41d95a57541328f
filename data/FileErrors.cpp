#include "FileErrors.h"

#include <array>
#include <cerrno>
#include <string_view>

namespace {

// Each text has one "%" where the path goes.
struct CauseText {
    FileErrorCause cause;
    std::string_view text;
};
constexpr std::array kCauseTexts = {
    CauseText{FileErrorCause::Generic, "An unexpected error occurred while accessing %."},
    CauseText{FileErrorCause::NotFound, "% was not found."},
    CauseText{FileErrorCause::BadPath, "All or part of the path % is invalid."},
    CauseText{FileErrorCause::TooManyOpenFiles, "% could not be opened because too many files are open."},
    CauseText{FileErrorCause::AccessDenied, "Access to % was denied."},
    CauseText{FileErrorCause::IsFolder, "% is a folder, not a file."},
    CauseText{FileErrorCause::SharingViolation, "% is in use by another program."},
    CauseText{FileErrorCause::ReadFault, "An error occurred while reading %."},
    CauseText{FileErrorCause::BadSeek, "An error occurred while moving within %."},
    CauseText{FileErrorCause::EndOfFile, "An attempt was made to read past the end of %."},
    CauseText{FileErrorCause::DiskFull, "The disk holding % is full."},
};

} // namespace

std::string FileErrorMessage(FileErrorCause cause, const std::string& path) {
    std::string_view text = kCauseTexts[0].text;
    for (const CauseText& entry : kCauseTexts)
        if (entry.cause == cause)
            text = entry.text;
    const std::size_t at = text.find('%');
    std::string message(text.substr(0, at));
    message += path.empty() ? std::string("an unnamed file") : path;
    message += text.substr(at + 1);
    return message;
}

FileErrorCause FileErrorCauseFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return FileErrorCause::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileErrorCause::AccessDenied;
    case EISDIR:
        return FileErrorCause::IsFolder;
    case EBUSY:
    case ETXTBSY:
        return FileErrorCause::SharingViolation;
    case EIO:
        return FileErrorCause::ReadFault;
    case ENOSPC:
        return FileErrorCause::DiskFull;
    default:
        return FileErrorCause::Generic;
    }
}

FileException::FileException(FileErrorCause cause, std::string path)
    : m_cause(cause), m_path(std::move(path)), m_message(FileErrorMessage(m_cause, m_path)) {}
