// The key file's format: what makes a key, what makes the file invalid.
#include <gtest/gtest.h>

#include <string>

#include <sodium.h>

#include <cstring>
#include <new>

#include "net/GroupKey.h"
#include "net/OperatorKey.h"
#include "net/SealedFrame.h"

namespace {

const std::string kHex = "00112233445566778899aabbccddeeff0123456789ABCDEFfedcba9876543210";

struct Case {
    const char* what;
    std::string text;
    bool valid;
    std::uint32_t maxSkew;  // when valid
    std::size_t operators = 0;
};

std::string OperatorLines(int n) {
    std::string lines;
    for (int i = 0; i < n; ++i)
        lines +=
            "operator " + std::string(62, 'a') + (i < 10 ? "0" : "1") + "0123456789abcdef"[i % 16] + "\n";
    return lines;
}

TEST(GroupKey, FileFormat) {
    const Case cases[] = {
        {"key alone, no line end", kHex, true, 300},
        {"comments and empty lines, LF", "# group key\n\n" + kHex + "\n#\n", true, 300},
        {"CR LF throughout", "# k\r\n\r\n" + kHex + "\r\nmax-skew 60\r\n", true, 60},
        {"max-skew before the key", "max-skew 86400\n" + kHex + "\n", true, 86400},
        {"max-skew 0", kHex + "\nmax-skew 0\n", true, 0},
        {"63 digits", kHex.substr(1) + "\n", false, 0},
        {"65 digits", kHex + "0\n", false, 0},
        {"not a hex digit", "g" + kHex.substr(1), false, 0},
        {"trailing space", kHex + " \n", false, 0},
        {"two key lines", kHex + "\n" + kHex + "\n", false, 0},
        {"max-skew 86401", kHex + "\nmax-skew 86401\n", false, 0},
        {"max-skew far out of range", kHex + "\nmax-skew 99999999999999999999\n", false, 0},
        {"max-skew not a number", kHex + "\nmax-skew five\n", false, 0},
        {"max-skew negative", kHex + "\nmax-skew -1\n", false, 0},
        {"max-skew without a number", kHex + "\nmax-skew \n", false, 0},
        {"two max-skew lines", kHex + "\nmax-skew 1\nmax-skew 1\n", false, 0},
        {"max-skew without a key", "max-skew 10\n", false, 0},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + kHex + "\n", false, 0},
        {"empty file", "", false, 0},
        {"comments only", "# nothing\n\n", false, 0},
        {"a comment after a space", " # no\n" + kHex, false, 0},
        {"a lone CR inside a line", kHex + "\r\r\n", false, 0},
        {"a NUL after the key", kHex + std::string(1, '\0'), false, 0},
        {"one operator", kHex + "\noperator " + kHex + "\n", true, 300, 1},
        {"sixteen operators, before and after the key",
         OperatorLines(8) + kHex + "\n" + OperatorLines(8).replace(62 + 9, 1, "b"), true, 300, 16},
        {"seventeen operators", kHex + "\n" + OperatorLines(17), false, 0},
        {"an operator of 63 digits", kHex + "\noperator " + kHex.substr(1) + "\n", false, 0},
        {"an operator of 65 digits", kHex + "\noperator " + kHex + "0\n", false, 0},
        {"two spaces", kHex + "\noperator  " + kHex + "\n", false, 0},
        {"an operator without a key", "operator " + kHex + "\n", false, 0},
        {"Operator", kHex + "\nOperator " + kHex + "\n", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto key = cv::ParseGroupKey(c.text);
        ASSERT_EQ(key.has_value(), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(key->operators.size(), c.operators);
        EXPECT_EQ(key->maxSkew, c.maxSkew);
        EXPECT_EQ(key->bytes[0], 0x00);
        EXPECT_EQ(key->bytes[15], 0xFF);
        EXPECT_EQ(key->bytes[16], 0x01);
        EXPECT_EQ(key->bytes[23], 0xEF);  // upper case
        EXPECT_EQ(key->bytes[31], 0x10);
    }
}

// riZER.operator: one line of 128 digits whose second half is the public key
// its first half (the seed) makes; the same line rules as riZER.key.
TEST(OperatorKey, FileFormat) {
    ASSERT_TRUE(cv::SealingReady());
    unsigned char pk[crypto_sign_PUBLICKEYBYTES], sk[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(pk, sk);
    char hex[2 * sizeof sk + 1];
    sodium_bin2hex(hex, sizeof hex, sk, sizeof sk);
    const std::string good = hex;
    std::string otherHalf = good;
    otherHalf[127] = otherHalf[127] == '0' ? '1' : '0';
    std::string otherSeed = good;
    otherSeed[0] = otherSeed[0] == '0' ? '1' : '0';
    struct Row {
        const char* what;
        std::string text;
        bool valid;
    } rows[] = {
        {"the key", good, true},
        {"with comments, CR LF", "# teacher\r\n\r\n" + good + "\r\n", true},
        {"127 digits", good.substr(1), false},
        {"129 digits", good + "0", false},
        {"a group key's 64 digits", good.substr(0, 64), false},
        {"two key lines", good + "\n" + good + "\n", false},
        {"a public half that is not the seed's", otherHalf, false},
        {"a seed whose public half is another's", otherSeed, false},
        {"max-skew is not for this file", good + "\nmax-skew 5\n", false},
        {"empty", "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const auto key = cv::ParseOperatorKey(r.text);
        ASSERT_EQ(key.has_value(), r.valid);
        if (!r.valid) continue;
        EXPECT_EQ(std::memcmp(key->PublicKey().data(), pk, sizeof pk), 0);
        cv::GroupKey group;
        EXPECT_FALSE(cv::ListsOperator(group, key->PublicKey()));
        group.operators.push_back(key->PublicKey());
        EXPECT_TRUE(cv::ListsOperator(group, key->PublicKey()));
    }
    sodium_memzero(sk, sizeof sk);
}

// Keys do not outlive their holders: a group key, an operator's key and a
// sealing key are zeros once destroyed, wherever they lived.
TEST(GroupKey, KeysAreWipedWhenTheyGo) {
    ASSERT_TRUE(cv::SealingReady());
    alignas(cv::GroupKey) unsigned char group[sizeof(cv::GroupKey)];
    auto* k = new (group) cv::GroupKey(*cv::ParseGroupKey(kHex));
    const std::size_t at =
        static_cast<std::size_t>(reinterpret_cast<unsigned char*>(k->bytes.data()) - group);
    ASSERT_EQ(k->bytes[15], 0xFF);
    alignas(cv::SealingKey) unsigned char sealing[sizeof(cv::SealingKey)];
    auto* sk = new (sealing) cv::SealingKey(cv::MakeSealingKey(*k));
    ASSERT_EQ(sk->key[15], 0xFF);
    k->~GroupKey();
    sk->~SealingKey();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(group + at), 32), std::string(32, '\0'));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(sealing), 32), std::string(32, '\0'));
    alignas(cv::OperatorKey) unsigned char op[sizeof(cv::OperatorKey)];
    auto* o = new (op) cv::OperatorKey();
    o->secret.fill(0x77);
    o->~OperatorKey();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(op), 64), std::string(64, '\0'));
}

}  // namespace
