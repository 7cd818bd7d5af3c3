#pragma once

#include <string>
#include <string_view>

#include "export/ExportProgress.h"
#include "sys/ByteSource.h"
#include "sys/FileDescriptor.h"

namespace eng {

// A folder an export writes into, held open so that every name is created
// relative to it: names are single path segments, a symbolic link is never
// followed below the destination, and no file is ever replaced. So nothing
// an export writes can land outside its destination or overwrite a file the
// export did not write.
class ExportFolder {
public:
    // The destination folder, made with its parents when missing (a
    // symbolic link given as the destination itself is the user's choice
    // and is followed). Throws CEngineException "Cant't create directory "
    // + path with the reason.
    static ExportFolder destination(const std::string &path);

    // The subfolder, made when missing; an existing folder is taken, a
    // symbolic link or a file refused. Throws CEngineException "Cant't
    // create directory " + its path with the reason.
    ExportFolder subfolder(const std::string &name) const;

    // Whether anything (a file, a folder, a link) has the name, compared
    // without regard to ASCII case, so that what is written can be copied to
    // a file system that ignores case.
    bool holds(const std::string &name) const;

    // Writes the bytes, a piece at a time, to a file without a name (or a
    // temporary name) and gives the complete file the name. False, with nothing left behind, when the name
    // is taken. Throws CEngineException naming the file and the reason when
    // the writing fails (a full disk); an exception of the source (a body
    // that cannot be read) passes through. Either way no partial file stays.
    bool writeNew(const std::string &name, const ByteSource &bytes) const;
    bool writeNew(const std::string &name, std::string_view bytes) const;

    const std::string &path() const { return path_; }
    std::string pathOf(const std::string &name) const { return path_ + "/" + name; }

private:
    ExportFolder(FileDescriptor fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

    FileDescriptor fd_;
    std::string path_;
};

// Writes a new file of the export and counts it in the summary; a name
// already taken is shown to the user and counted as not written.
bool writeExportFile(const ExportFolder &folder, const std::string &name, const ByteSource &bytes,
                     ExportSummary &summary);
bool writeExportFile(const ExportFolder &folder, const std::string &name, std::string_view bytes,
                     ExportSummary &summary);

}  // namespace eng
