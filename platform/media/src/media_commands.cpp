#include "platform/media/media_commands.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <vector>

#include "media_stream.h"

namespace brumil::platform {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Words separated by blanks; a double-quoted word may hold blanks.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
        if (i >= text.size()) break;
        std::string word;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            word.assign(text.substr(i + 1, end - i - 1));
            i = end == text.size() ? end : end + 1;
        } else {
            while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) == 0) {
                word.push_back(text[i++]);
            }
        }
        out.push_back(std::move(word));
    }
    return out;
}

class CommandInterpreter final : public MediaCommands {
public:
    explicit CommandInterpreter(MediaBufferMaker make) : make_(std::move(make)) {}

    MediaCommandError SendString(std::string_view command, std::string& reply,
                                 std::size_t replyCapacity) override {
        reply.clear();
        const std::vector<std::string> w = Words(command);
        if (w.empty()) return MediaCommandError::UnknownCommand;
        const std::string verb = Lower(w[0]);
        if (verb == "open") return Open(w);
        if (w.size() < 2) return MediaCommandError::MissingDevice;
        auto it = devices_.find(Lower(w[1]));
        if (it == devices_.end()) return MediaCommandError::MissingDevice;
        detail::MediaStream& s = *it->second;
        if (verb == "play") return Play(s, w);
        if (verb == "stop") {
            if (w.size() != 2) return MediaCommandError::BadParameter;
            s.Stop();
            return MediaCommandError::None;
        }
        if (verb == "close") {
            if (w.size() != 2) return MediaCommandError::BadParameter;
            devices_.erase(it);
            return MediaCommandError::None;
        }
        if (verb == "status") {
            if (w.size() != 3 || Lower(w[2]) != "mode") return MediaCommandError::BadParameter;
            s.Poll();
            const std::string text = s.Playing() ? "playing" : "stopped";
            if (text.size() + 1 > replyCapacity) return MediaCommandError::ReplyTooSmall;
            reply = text;
            return MediaCommandError::None;
        }
        return MediaCommandError::UnknownCommand;
    }

    void Refill() override {
        for (auto& [name, stream] : devices_) stream->Refill();
    }

private:
    MediaCommandError Open(const std::vector<std::string>& w) {
        if (w.size() < 2 || w[1].empty()) return MediaCommandError::MissingDevice;
        std::string alias = Lower(w[1]);
        for (std::size_t i = 2; i < w.size(); i += 2) {
            if (i + 1 >= w.size() || Lower(w[i]) != "alias") return MediaCommandError::BadParameter;
            alias = Lower(w[i + 1]);
        }
        if (devices_.count(alias) != 0) return MediaCommandError::DuplicateAlias;
        auto stream = detail::MediaStream::Open(w[1], make_);
        if (!stream) return MediaCommandError::CannotOpen;
        devices_.emplace(alias, std::move(stream));
        return MediaCommandError::None;
    }

    MediaCommandError Play(detail::MediaStream& s, const std::vector<std::string>& w) {
        if (w.size() == 2) {
            s.Start();
            return MediaCommandError::None;
        }
        if (w.size() != 4 || Lower(w[2]) != "from") return MediaCommandError::BadParameter;
        std::uint64_t ms = 0;
        const char* first = w[3].data();
        const char* last = first + w[3].size();
        const auto [end, ec] = std::from_chars(first, last, ms);
        if (ec != std::errc() || end != last) return MediaCommandError::BadParameter;
        // Beyond any real length; keeps the product below overflow.
        ms = std::min<std::uint64_t>(ms, 1'000'000'000'000ull);
        s.Seek(ms * s.Hz() / 1000);
        s.Start();
        return MediaCommandError::None;
    }

    MediaBufferMaker make_;
    std::map<std::string, std::unique_ptr<detail::MediaStream>> devices_;
};

}  // namespace

std::unique_ptr<MediaCommands> MakeMediaCommands(MediaBufferMaker make) {
    return std::make_unique<CommandInterpreter>(std::move(make));
}

}  // namespace brumil::platform
