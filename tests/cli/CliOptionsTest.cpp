// The command line of rizer-cli and the payloads it would send.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "CliSend.h"

namespace {

cli::Parsed Parse(std::vector<std::string> words) {
    std::vector<const char*> argv{"rizer-cli"};
    for (const std::string& w : words) argv.push_back(w.c_str());
    return cli::ParseArguments(static_cast<int>(argv.size()), argv.data());
}

TEST(CliArguments, OptionsAnywhereAndAfterTheDoubleDash) {
    cli::Parsed p =
        Parse({"--port", "1234", "chat", "Ann", "--to=10.0.0.255", "hi", "--reliable", "--wait", "900"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.command, cli::Command::Chat);
    EXPECT_EQ(p.options.args, (std::vector<std::string>{"Ann", "hi"}));
    EXPECT_EQ(p.options.port, 1234);
    EXPECT_EQ(p.options.to, "10.0.0.255");
    EXPECT_TRUE(p.options.reliable);
    EXPECT_EQ(p.options.waitMs, 900);

    p = Parse({"chat", "--", "--port", "-x"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.args, (std::vector<std::string>{"--port", "-x"}));
    EXPECT_EQ(p.options.port, 50150);

    p = Parse({"listen", "--count", "3", "--seconds=2", "--raw", "--verbose"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.count, 3);
    EXPECT_EQ(p.options.seconds, 2);
    EXPECT_TRUE(p.options.raw && p.options.verbose);

    // A single dash is an argument (a text of its own), as is the empty text.
    p = Parse({"chat", "-", ""});
    EXPECT_EQ(p.error, "");

    // The key goes with every command on the network; keygen takes a file.
    for (const auto& words : std::vector<std::vector<std::string>>{{"--key", "g.key", "listen"},
                                                                   {"gosub", "x", "--key=g.key"},
                                                                   {"--key", "g.key", "box", "x", "Error"}}) {
        p = Parse(words);
        EXPECT_EQ(p.error, "") << testing::PrintToString(words);
        EXPECT_EQ(p.options.keyFile, "g.key") << testing::PrintToString(words);
    }
    // who: an acknowledged send of its own, with the send options; adapters
    // takes none.
    p = Parse(
        {"--key", "g.key", "who", "--wait", "700", "--port", "1234", "--to", "10.0.0.255", "--verbose"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.command, cli::Command::Who);
    EXPECT_TRUE(p.options.reliable);
    EXPECT_EQ(p.options.waitMs, 700);
    EXPECT_EQ(p.options.port, 1234);
    EXPECT_EQ(p.options.to, "10.0.0.255");
    p = Parse({"who"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.waitMs, 1500);
    p = Parse({"adapters"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.command, cli::Command::Adapters);

    // --operator: with --key on a send command; keygen --operator FILE
    // writes FILE and takes no argument of its own.
    p = Parse({"--key", "g.key", "--operator", "t.op", "gosub", "x"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.operatorFile, "t.op");
    p = Parse({"keygen", "--operator", "t.op"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.command, cli::Command::Keygen);
    EXPECT_EQ(p.options.operatorFile, "t.op");
    EXPECT_TRUE(p.options.args.empty());

    p = Parse({"keygen", "--", "-new.key"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.command, cli::Command::Keygen);
    EXPECT_EQ(p.options.args, std::vector<std::string>{"-new.key"});
    EXPECT_EQ(p.options.keyFile, "");
}

// After the command word a help or version word would make a scheduled
// "box -h Warning" print the help and report success without sending.
TEST(CliArguments, HelpAndVersionOnlyBeforeTheCommandWord) {
    using C = cli::Command;
    const struct {
        std::vector<std::string> words;
        C command;
        const char* says;  // in the error, "" for none
    } cases[] = {
        {{"-h"}, C::Help, ""},
        {{"--port", "5", "--help", "chat"}, C::Help, ""},
        {{"--version", "listen", "--loud"}, C::Version, ""},
        {{"box", "-h", "Warning"},
         C::None,
         "unknown option '-h' after the command word (-- ends the options"},
        {{"chat", "Ann", "--help"}, C::None, "unknown option '--help' after the command word"},
        {{"gosub", "--version"}, C::None, "unknown option '--version' after the command word"},
        {{"box", "--", "-h", "Warning"}, C::Box, ""},
    };
    for (const auto& c : cases) {
        const cli::Parsed p = Parse(c.words);
        EXPECT_EQ(p.options.command, c.command) << testing::PrintToString(c.words);
        if (*c.says) {
            EXPECT_NE(p.error.find(c.says), std::string::npos) << p.error;
        } else {
            EXPECT_EQ(p.error, "");
        }
    }
    EXPECT_EQ(Parse({"box", "--", "-h", "Warning"}).options.args,
              (std::vector<std::string>{"-h", "Warning"}));
}

// The low 16 bits of a whole number, as the plug-in keeps them; but where
// the port action falls back to 50150 (no number) or would bind port 0, the
// CLI refuses rather than send to a port the administrator did not mean.
TEST(CliArguments, PortIsTheLow16BitsAndNeverAFallback) {
    const struct {
        const char* text;
        int cli;     // 0: refused
        int action;  // the port riZEROpenPort binds
    } cases[] = {
        {"+80", 80, 80},           {"115686", 50150, 50150},
        {"-15386", 50150, 50150},  {"00050150", 50150, 50150},
        {"abc", 0, 50150},         {"", 0, 50150},
        {"12a", 0, 50150},         {"0x10", 0, 50150},
        {"99999999999", 0, 50150}, {"0", 0, 0},
        {"65536", 0, 0},           {"-0", 0, 0},
    };
    for (const auto& c : cases) {
        const cli::Parsed p = Parse({"listen", "--port", c.text});
        EXPECT_EQ(p.error.empty() ? p.options.port : 0, c.cli) << c.text;
        if (!c.cli) {
            EXPECT_NE(p.error.find("bad port"), std::string::npos) << c.text;
        }
        EXPECT_EQ(cv::PortNumber(c.text) & 0xFFFF, c.action) << c.text;
    }
}

TEST(CliArguments, EveryMistakeIsNamed) {
    struct Case {
        std::vector<std::string> words;
        const char* says;
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"shout", "x"}, "unknown command 'shout'"},
        {{"chat", "Ann"}, "chat takes USER TEXT, not 1 argument"},
        {{"listen", "x"}, "listen takes no arguments"},
        {{"gosub", "a", "b"}, "gosub takes NAME"},
        {{"--loud", "listen"}, "unknown option '--loud'"},
        {{"listen", "--port"}, "--port needs N"},
        {{"listen", "--raw=1"}, "--raw takes no value"},
        {{"listen", "--reliable"}, "--reliable goes with chat, gosub, box, not listen"},
        {{"chat", "a", "b", "--count", "2"}, "--count goes with listen, not chat"},
        {{"gosub", "a", "--wait", "100"}, "--wait goes with --reliable"},
        {{"gosub", "a", "--reliable", "--wait", "-1"}, "bad wait"},
        {{"listen", "--count", "0"}, "bad count"},
        {{"listen", "--seconds", "1.5"}, "bad seconds"},
        {{"gosub", "a", "--to", "10.0.0"}, "bad address"},
        {{"listen", "--key"}, "--key needs FILE"},
        {{"listen", "--key="}, "--key needs a file name"},
        {{"keygen"}, "keygen takes FILE, not 0 arguments"},
        {{"keygen", "a", "b"}, "keygen takes FILE, not 2 arguments"},
        {{"keygen", "a", "--key", "b"}, "--key goes with chat, gosub, box, listen, who, not keygen"},
        {{"keygen", "a", "--port", "5"}, "--port goes with chat, gosub, box, listen, who, not keygen"},
        {{"gosub", "x", "--operator", "t.op"}, "--operator needs --key"},
        {{"--key", "g.key", "listen", "--operator", "t.op"},
         "--operator goes with chat, gosub, box, keygen, not listen"},
        {{"--key", "g.key", "gosub", "x", "--operator="}, "--operator needs a file name"},
        {{"keygen", "a", "--operator", "t.op"},
         "keygen --operator FILE takes no other argument, not 1 argument"},
        {{"who", "x"}, "who takes no arguments, not 1 argument"},
        {{"who", "--reliable"}, "--reliable goes with chat, gosub, box, not who"},
        {{"who", "--count", "2"}, "--count goes with listen, not who"},
        {{"adapters", "eth0"}, "adapters takes no arguments"},
        {{"adapters", "--key", "g.key"}, "--key goes with chat, gosub, box, listen, who, not adapters"},
        {{"adapters", "--to", "10.0.0.255"}, "--to goes with chat, gosub, box, who, not adapters"},
    };
    for (const Case& c : cases) {
        const cli::Parsed p = Parse(c.words);
        EXPECT_NE(p.error.find(c.says), std::string::npos) << p.error;
    }
}

TEST(CliArguments, DottedQuadsOnly) {
    for (const char* good : {"255.255.255.255", "10.0.0.255", "0.0.0.0", "192.168.100.7"}) {
        EXPECT_TRUE(cli::IsDottedQuad(good)) << good;
    }
    // Shorthand forms, octal-looking parts and junk, which the platform's
    // parser would read as some other address or as the broadcast address.
    for (const char* bad : {"", "10.1", "1.2.3.4.5", "010.0.0.1", "256.1.1.1", "1.2.3.4 ", "a.b.c.d",
                            "1..2.3", "1.2.3.", "0x0a.0.0.1", "1.2.3.1000", "-1.2.3.4"}) {
        EXPECT_FALSE(cli::IsDottedQuad(bad)) << bad;
    }
}

TEST(CliArguments, HelpFitsOneScreen) {
    std::istringstream help(cli::HelpText());
    int lines = 0;
    for (std::string line; std::getline(help, line); ++lines) EXPECT_LE(line.size(), 80u) << line;
    EXPECT_LE(lines, 24);
}

// A sample value for each placeholder in `words`.
std::vector<std::string> Samples(std::istringstream& words) {
    static const std::vector<std::pair<std::string, std::string>> kSamples = {
        {"USER", "Ann"},           {"TEXT", "hi"}, {"KIND", "Warning"}, {"NAME", "Refresh"},
        {"FILE", "riZER.key"},     {"N", "7"},     {"MS", "100"},       {"S", "1"},
        {"ADDRESS", "10.0.0.255"},
    };
    std::vector<std::string> out;
    for (std::string w; words >> w;) {
        const bool placeholder = !w.empty() && std::all_of(w.begin(), w.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || c == '.';
        });
        if (!placeholder) {
            ADD_FAILURE() << "not a placeholder: " << w;
            break;
        }
        const auto it =
            std::find_if(kSamples.begin(), kSamples.end(), [&](const auto& p) { return p.first == w; });
        if (it == kSamples.end()) {
            ADD_FAILURE() << "no sample for the placeholder " << w;
            break;
        }
        out.push_back(it->second);
    }
    return out;
}

// Every command the help lists parses with its arguments, and every option
// it lists is taken by at least one of those commands (alone, or beside
// --key, which some need).
TEST(CliArguments, EverythingTheHelpListsIsAccepted) {
    std::vector<std::vector<std::string>> commands;
    std::vector<std::vector<std::string>> options;
    std::istringstream help(cli::HelpText());
    std::vector<std::vector<std::string>>* section = nullptr;
    for (std::string line; std::getline(help, line);) {
        if (line.rfind("commands:", 0) == 0) section = &commands;
        else if (line.rfind("options", 0) == 0) section = &options;
        else if (line.rfind("exit:", 0) == 0) section = nullptr;
        if (!section || line.rfind("  ", 0) != 0 || line.size() < 3 || line[2] == ' ') continue;
        // "  %-17s %s": the command or option and its placeholders, then
        // what it does.
        std::istringstream words(line.substr(2, 17));
        std::string head;
        words >> head;
        if (head.back() == ',') continue;  // "--help, --version only before the command word"
        std::vector<std::string> row{head};
        for (std::string& v : Samples(words)) row.push_back(std::move(v));
        section->push_back(std::move(row));
    }
    ASSERT_GE(commands.size(), 7u);
    ASSERT_GE(options.size(), 8u);
    for (const auto& command : commands) {
        const cli::Parsed p = Parse(command);
        EXPECT_EQ(p.error, "") << testing::PrintToString(command);
        EXPECT_NE(p.options.command, cli::Command::None) << command[0];
    }
    for (const auto& option : options) {
        bool taken = false;
        for (const auto& command : commands) {
            for (bool keyed : {false, true}) {
                std::vector<std::string> words = command;
                if (keyed) words.insert(words.end(), {"--key", "riZER.key"});
                words.insert(words.end(), option.begin(), option.end());
                taken = taken || Parse(words).error.empty();
            }
        }
        EXPECT_TRUE(taken) << "no command takes " << testing::PrintToString(option);
    }
    for (const char* word : {"--help", "--version"}) {
        EXPECT_NE(cli::HelpText().find(word), std::string::npos) << word;
        EXPECT_EQ(Parse({word}).error, "") << word;
    }
}

std::string Payload(std::vector<std::string> words, std::string* error) {
    cli::Parsed p = Parse(std::move(words));
    EXPECT_EQ(p.error, "");
    std::string payload;
    return cli::MakePayload(p.options, &payload, error) ? payload : "<refused>";
}

TEST(CliPayloads, KindsAndLimitsAsReceiversHaveThem) {
    std::string error;
    EXPECT_EQ(Payload({"who"}, &error), "");
    EXPECT_EQ(Payload({"box", "Sure?", "Confimation"}, &error), "$M3Sure?");
    EXPECT_EQ(Payload({"box", "", "Information"}, &error), "$M4");
    EXPECT_EQ(Payload({"chat", "", ""}, &error), "<>: ");
    for (const char* kind : {"warning", "Confirmation", "", "Warning "}) {
        EXPECT_EQ(Payload({"box", "x", kind}, &error), "<refused>") << kind;
        EXPECT_NE(error.find("Error, Warning, Confimation, Information"), std::string::npos);
    }
    EXPECT_EQ(Payload({"gosub", "a\"b"}, &error), "<refused>");
    EXPECT_EQ(Payload({"gosub", "a\nb"}, &error), "<refused>");

    // "<" ">: " around the user: 254 bytes in all is the most that arrives.
    const std::string fits(250, 'x');
    EXPECT_EQ(Payload({"chat", "", fits}, &error).size(), 254u);
    EXPECT_EQ(Payload({"chat", "", fits + "x"}, &error), "<refused>");
    EXPECT_NE(error.find("255 bytes"), std::string::npos) << error;
    EXPECT_NE(error.find("at most 254"), std::string::npos) << error;
    // Two bytes of sequence number leave 252 in an acknowledged frame.
    EXPECT_EQ(Payload({"gosub", std::string(250, 'n'), "--reliable"}, &error).size(), 252u);
    EXPECT_EQ(Payload({"gosub", std::string(251, 'n'), "--reliable"}, &error), "<refused>");
    EXPECT_NE(error.find("at most 252"), std::string::npos) << error;
}

}  // namespace
