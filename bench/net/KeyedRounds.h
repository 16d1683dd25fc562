// For the receive benchmarks: a key folder (riZER.key) and an empty one for
// riZEROpenPort to find, and chat lines sealed with that key, so that the
// keyed receive path can be measured against the unkeyed one in one run.
#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeLocalization.h"
#include "net/GroupKey.h"
#include "net/SealedFrame.h"

namespace rizer::bench {

class KeyedRounds {
 public:
    KeyedRounds() {
        namespace fs = std::filesystem;
        root_ = fs::temp_directory_path() / ("rizer-bench-key-" + std::to_string(std::time(nullptr)));
        fs::create_directories(root_ / "keyed");
        fs::create_directories(root_ / "plain");
        cv::GroupKey k;
        std::string hex;
        for (std::size_t i = 0; i < k.bytes.size(); ++i) {
            k.bytes[i] = static_cast<std::uint8_t>(0x5A ^ (i * 13));
            char two[3];
            std::snprintf(two, sizeof two, "%02x", k.bytes[i]);
            hex += two;
        }
        std::ofstream(root_ / "keyed" / cv::kGroupKeyFileName, std::ios::binary) << hex << "\r\n";
        hex_ = hex;
        cv::SealingReady();
        key_ = cv::MakeSealingKey(k);
        cv::StartSealSession(&session_);
    }
    ~KeyedRounds() {
        rizer::test::fake::SetLocFolder(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    // The folder the next riZEROpenPort reads riZER.key from.
    void UseKey(bool keyed) {
        std::string folder = (root_ / (keyed ? "keyed" : "plain")).string();
        folder += static_cast<char>(std::filesystem::path::preferred_separator);
        rizer::test::fake::SetLocFolder(folder);
    }
    // The key's 64 hexadecimal digits, and the key made ready for sealing.
    const std::string& KeyHex() const { return hex_; }
    const cv::SealingKey& Key() const { return key_; }
    // `count` chat lines as the unkeyed benchmarks send them, each sealed.
    std::vector<std::string> Lines(int count) {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            char inner[64];
            const int n = std::snprintf(inner + 1, sizeof inner - 1, "<Ann>: line number %d", i) + 1;
            inner[0] = 0;
            std::string sealed(static_cast<std::size_t>(n) + cv::kSealedOverhead, '\0');
            cv::SealFrame(key_, cv::NextSealHeader(&session_, cv::kSealedForEverybody),
                          reinterpret_cast<const std::uint8_t*>(inner), n,
                          reinterpret_cast<std::uint8_t*>(sealed.data()));
            out.push_back(std::move(sealed));
        }
        return out;
    }

 private:
    std::filesystem::path root_;
    std::string hex_;
    cv::SealingKey key_{};
    cv::SealSession session_;
};

}  // namespace rizer::bench
