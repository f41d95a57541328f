#pragma once

#include <exception>
#include <string>

// Why a file could not be opened or read; the GUI's file class and the command-line tool report
// these with the same texts.
enum class FileErrorCause {
    Generic,
    NotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    IsFolder,
    SharingViolation,
    ReadFault,
    BadSeek,
    EndOfFile,
    DiskFull,
};

// The report shown to the user, naming the file.
std::string FileErrorMessage(FileErrorCause cause, const std::string& path);

// The cause for a C library errno value of a failed open or read.
FileErrorCause FileErrorCauseFromErrno(int error);

class FileException : public std::exception {
public:
    FileException(FileErrorCause cause, std::string path);

    FileErrorCause cause() const { return m_cause; }
    const std::string& path() const { return m_path; }
    const std::string& message() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    FileErrorCause m_cause;
    std::string m_path;
    std::string m_message;
};
