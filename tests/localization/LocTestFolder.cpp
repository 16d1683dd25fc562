#include "LocTestFolder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

#include "FakeLocalization.h"
#include "localization/LocHeader.h"

namespace cv::test {

namespace fs = std::filesystem;

LocTestFolder::LocTestFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << "rizer-loc-" << stamp << "-" << counter++;
    path_ = fs::temp_directory_path() / name.str();
    fs::create_directories(path_);
    std::string folder = path_.string();
    folder += static_cast<char>(fs::path::preferred_separator);
    rizer::test::fake::SetLocFolder(folder);
}

LocTestFolder::~LocTestFolder() {
    rizer::test::fake::SetLocFolder(std::nullopt);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void LocTestFolder::Write(std::string_view bytes) const {
    Remove();
    std::ofstream out(LocPath(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void LocTestFolder::WriteLines(const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    Write(bytes);
}

void LocTestFolder::CopyFrom(const std::string& path) const { Write(ReadFileBytes(path)); }

void LocTestFolder::Remove() const {
    std::error_code ignored;
    fs::remove_all(LocPath(), ignored);
}

std::vector<std::string> HeaderPlus(std::vector<std::string> more) {
    std::vector<std::string> lines(kLocHeader.begin(), kLocHeader.end());
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace cv::test
