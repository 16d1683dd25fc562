// A temporary folder that stands in for the host executable's folder while a
// test runs, with helpers to write riZER.loc into it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cv::test {

class LocTestFolder {
 public:
    LocTestFolder();   // creates the folder and makes lookups use it
    ~LocTestFolder();  // restores the executable's folder and removes this one
    LocTestFolder(const LocTestFolder&) = delete;
    LocTestFolder& operator=(const LocTestFolder&) = delete;

    // Writes riZER.loc with exactly these bytes.
    void Write(std::string_view bytes) const;
    // Writes riZER.loc with these lines, each ended by CR LF.
    void WriteLines(const std::vector<std::string>& lines) const;
    // Copies a file (e.g. a sample) into place as riZER.loc.
    void CopyFrom(const std::string& path) const;
    void Remove() const;

    std::filesystem::path LocPath() const { return path_ / "riZER.loc"; }

 private:
    std::filesystem::path path_;
};

// The six header lines followed by `more`.
std::vector<std::string> HeaderPlus(std::vector<std::string> more = {});

// The bytes of a file.
std::string ReadFileBytes(const std::string& path);

}  // namespace cv::test
