// For the receive benchmarks of a group with operators: a key folder whose
// riZER.key holds KeyedRounds' key and lists one operator, and GoSub frames
// sealed with that key: signed by the operator, unsigned (what a group
// without operators, KeyedRounds' folder, takes), and signed in the
// operator's name with signatures that do not verify (a key holder's flood).
#pragma once

#include <sodium.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KeyedRounds.h"
#include "FakeLocalization.h"
#include "net/GroupKey.h"
#include "net/OperatorKey.h"
#include "net/SealedFrame.h"

namespace rizer::bench {

class OperatorRounds {
 public:
    explicit OperatorRounds(const KeyedRounds& keyed) : keyed_(keyed) {
        namespace fs = std::filesystem;
        cv::SealingReady();
        unsigned char pk[crypto_sign_PUBLICKEYBYTES];
        crypto_sign_keypair(pk, operator_.secret.data());
        // The forger's secret key: a seed of its own, the operator's public
        // key. Its signatures are well formed, name the operator, and do not
        // verify: each costs a receiver a whole verification.
        unsigned char strangerPk[crypto_sign_PUBLICKEYBYTES];
        crypto_sign_keypair(strangerPk, forger_.secret.data());
        std::copy(pk, pk + sizeof pk, forger_.secret.begin() + 32);
        folder_ = fs::temp_directory_path() / ("rizer-bench-operators-" + std::to_string(std::time(nullptr)));
        fs::create_directories(folder_);
        std::string hex;
        for (unsigned char b : pk) {
            char two[3];
            std::snprintf(two, sizeof two, "%02x", b);
            hex += two;
        }
        std::ofstream(folder_ / cv::kGroupKeyFileName, std::ios::binary)
            << keyed_.KeyHex() << "\r\noperator " << hex << "\r\n";
        cv::StartSealSession(&session_);
    }
    ~OperatorRounds() {
        rizer::test::fake::SetLocFolder(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    OperatorRounds(const OperatorRounds&) = delete;
    OperatorRounds& operator=(const OperatorRounds&) = delete;

    // The folder the next riZEROpenPort reads riZER.key from: this group's.
    void Use() const {
        std::string folder = folder_.string();
        folder += static_cast<char>(std::filesystem::path::preferred_separator);
        rizer::test::fake::SetLocFolder(folder);
    }
    enum class Signing { Unsigned, Operator, Forged };
    // `count` GoSubs of one session, in order, for everybody.
    std::vector<std::string> GoSubs(int count, Signing signing) {
        static const char inner[] = "\0$ABenchmark";
        const int n = static_cast<int>(sizeof inner) - 1;
        const auto* in = reinterpret_cast<const std::uint8_t*>(inner);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            std::string frame(static_cast<std::size_t>(n + cv::kSealedOverhead + cv::kSignatureTrailer),
                              '\0');
            auto* o = reinterpret_cast<std::uint8_t*>(frame.data());
            const cv::SealHeader h = cv::NextSealHeader(&session_, cv::kSealedForEverybody);
            const int length =
                signing == Signing::Unsigned
                    ? cv::SealFrame(keyed_.Key(), h, in, n, o)
                    : cv::SealSignedFrame(keyed_.Key(), h, signing == Signing::Operator ? operator_ : forger_,
                                          in, n, o);
            frame.resize(static_cast<std::size_t>(length));
            out.push_back(std::move(frame));
        }
        return out;
    }

 private:
    const KeyedRounds& keyed_;
    std::filesystem::path folder_;
    cv::OperatorKey operator_;
    cv::OperatorKey forger_;
    cv::SealSession session_;
};

}  // namespace rizer::bench
