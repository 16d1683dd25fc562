// libFuzzer target: any bytes as riZER.loc, through the line reader (with a
// chunk size picked by the input) and the lookups, against a plain in-memory
// model of the file's lines.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "FakeLocalization.h"
#include "localization/LocFile.h"
#include "localization/LocFolder.h"
#include "localization/LocHeader.h"
#include "localization/LocLineReader.h"
#include "localization/Localization.h"

namespace {

struct ModelLine {
    std::string text;  // whole line, line end excluded
};

// Lines end at LF; a CR before the LF, or before the end of the file, is part
// of the line end.
std::vector<ModelLine> ModelLines(std::string_view bytes) {
    std::vector<ModelLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({std::string(line)});
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return lines;
}

std::string ModelLookup(const std::vector<ModelLine>& lines, std::string_view key, const char* fallback) {
    if (key.size() != 4) return fallback;
    for (const ModelLine& line : lines)
        if (line.text.size() >= 4 &&
            cv::EqualIgnoringAsciiCase(std::string_view(line.text).substr(0, 4), key))
            return line.text.substr(4, 255);
    return fallback;
}

const std::string& Folder() {
    static const std::string folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("rizer-loc-fuzz-" + std::to_string(static_cast<long>(getpid())));
        std::filesystem::create_directories(path);
        static const std::filesystem::path made = path;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        std::string text = path.string() + "/";
        rizer::test::fake::SetLocFolder(text);
        return text;
    }();
    return folder;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + cv::kLocFileName;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    const std::vector<ModelLine> model = ModelLines(bytes);

    // The reader, with a chunk size of 1..16 bytes from the input's first byte.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return 0;
    cv::LocLineReader reader(in, size ? (data[0] & 15u) + 1 : 1);
    cv::LocLine line;
    std::size_t count = 0;
    while (reader.Next(line)) {
        Check(count < model.size());
        const std::string& whole = model[count].text;
        Check(line.overlong == (whole.size() > cv::kLocLineKeep));
        Check(line.text == std::string_view(whole).substr(0, cv::kLocLineKeep));
        ++count;
    }
    std::fclose(in);
    Check(count == model.size());

    // Lookups of real keys and of a key taken from the input.
    std::vector<std::string> keys = {"001*", "011*", "**  "};
    // Keys are C texts: a zero byte ends one (a shorter key never matches).
    if (size >= 5) keys.emplace_back(std::string(bytes.substr(1, 4)).c_str());
    for (const std::string& key : keys) {
        const std::string value = cv::LocalizedText(key.c_str(), "fallback");
        Check(value == ModelLookup(model, key, "fallback"));
    }

    const cv::LocHeaderState state = cv::ReadLocHeaderState(cv::kLocFileName);
    bool intact = true;
    for (std::size_t i = 0; i < model.size() && i < cv::kLocHeader.size(); ++i)
        intact = intact && cv::EqualIgnoringAsciiCase(model[i].text, cv::kLocHeader[i]);
    Check(state == (intact ? cv::LocHeaderState::Intact : cv::LocHeaderState::Modified));
    return 0;
}
