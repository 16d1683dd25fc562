// The endpoint for the length of one command: started and bound when made,
// its socket closed on every way out.
#pragma once

#include <string>

#include "net/Net.h"

namespace cli {

class TEndpoint {
 public:
    // Port 0 binds any free port (a sender needs no particular one, and so
    // does not collide with a copy of the plug-in on the same machine).
    explicit TEndpoint(int port) {
        if (!cv::NetInit()) {
            error_ = cv::NetKeyed() ? "cannot start the socket library or the cryptography library"
                                    : "cannot start the socket library";
        } else if (cv::NetOpen(port) == 0) {
            error_ = port ? "cannot bind port " + std::to_string(port) +
                                " (does a copy of the plug-in or another listener hold it?)"
                          : "cannot open a socket";
        }
    }
    ~TEndpoint() { cv::NetClose(); }
    TEndpoint(const TEndpoint&) = delete;
    TEndpoint& operator=(const TEndpoint&) = delete;

    bool Open() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

 private:
    std::string error_;
};

}  // namespace cli
