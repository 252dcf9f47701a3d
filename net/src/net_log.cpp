#include "net/net_log.h"

namespace brumil::net {

void AddNetworkLogLine(NetLog& log, std::string_view line) {
    for (const char c : line) {
        if (c != '\r' && c != '\n') log.Text.push_back(c);
    }
    log.Text += "\r\n";
    ++log.Lines;
    ++log.Added;
    if (log.Lines > kNetLogLines) {
        // Drop the oldest lines in one erase.
        std::size_t cut = 0;
        for (Long n = log.Lines - kNetLogLines; n > 0; --n) cut = log.Text.find("\r\n", cut) + 2;
        log.Text.erase(0, cut);
        log.Lines = kNetLogLines;
    }
    log.Timer = kNetLogShowSteps;
}

}  // namespace brumil::net
