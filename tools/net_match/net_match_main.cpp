// brumil_net_match --host --port-file F --out F [--expect-abort] [--expect-left NAME]
//                  [--limit-ms N]
// brumil_net_match --join PORT --out F [--quit-at STEPS] [--name NAME] [--chara N]
//                  [--leave-in-ready-wait] [--limit-ms N]
//
// One side of a networked match on 127.0.0.1: the game's network records
// over a real session, the headless match harness in place of the front
// end, and the link job's input messages. Player 0 walks by a fixed random
// script; on the host, 300 steps into the match, player 0 takes a fatal hit,
// so both sides must decide the match once, the host losing. Writes the
// positions this side published ("pub x y") and took from the peer ("mir x
// y") to the out file, and exits 0 when its own checks held. With
// --quit-at the joiner leaves the session that many steps into the match and
// the host (--expect-abort) must go back undecided with the abort line.
// With --leave-in-ready-wait the joiner agrees its set-up (--chara) and
// leaves while the host waits for it to load; the host (--expect-left with
// that joiner's --name) must end that start unplayed with the abort line and
// play its next start with the next joiner, on that joiner's character.
#include <charconv>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>

#include "battle/b_game.h"
#include "battle/network_match.h"
#include "battle/player_record.h"
#include "battle_harness/match_harness.h"
#include "core/math_random.h"
#include "framework/vkey.h"
#include "net/net_globals.h"
#include "net/net_input.h"
#include "net/net_message.h"
#include "platform/base/clock.h"

namespace {

using namespace brumil;

constexpr Long kHitAt = 300;  // match steps on the host before the hit
constexpr Long kScriptSteps = 4000;
constexpr Long kNetworkMode = 7;  // player 0 here, player 1 the peer

class Silent final : public net::EffectSink {
public:
    void PlayEffect(Long, Single, Single) override {}
};

struct Options {
    bool host = false;
    std::uint16_t port = 0;
    std::string portFile;
    std::string out;
    platform::Millis limitMs = 60000;
    Long quitAt = 0;                // leave the session this many steps into the match
    bool expectAbort = false;       // the peer leaves mid-match
    std::string name = "みどり";    // the joiner's player name
    Long chara = 0;                 // player 0's character; 0: 1 on the host, 3 on the joiner
    bool leaveInReadyWait = false;  // leave once the host took this side's set-up
    std::string expectLeft;         // the first joiner's name: it leaves before the match
};

// Arrow presses and releases for player 0, one change every 8 steps.
std::vector<harness::ScriptedKey> WalkScript(std::uint64_t seed) {
    core::MathRandom random(seed);
    std::vector<harness::ScriptedKey> keys;
    const int arrows[] = {harness::kUp, harness::kDown, harness::kLeft, harness::kRight};
    for (Long step = 0; step < kScriptSteps; step += 8) {
        const int input = arrows[random.Next() % 4];
        keys.push_back({step, 0, input, (random.Next() & 1) != 0});
    }
    return keys;
}

// What the front end's link job does each step: advance the frame and send
// the keys, position and life when they changed.
void LinkStep(net::NetPlayerRecord& last) {
    net::NetPlayerRecord& own = net::gNetOwn();
    own.Frame += 1;
    const Long bits = net::NetKeyBitsFromVKey(framework::VKey()[0], own.Flag);
    if (bits == last.KeyBits && own.X == last.X && own.Y == last.Y && own.Extra == last.Extra)
        return;
    own.KeyBits = bits;
    const Long values[] = {own.Frame, bits, own.X, own.Y, own.Extra};
    net::SendGameMessage(net::kInputMessage, values);
    last = own;
}

int Fail(const Options& o, std::string_view why) {
    std::cerr << (o.host ? "host" : "joiner") << ": " << why << "\n";
    return 1;
}

// What one match start came to on this side.
struct Outcome {
    bool played = false;  // phase 6 reached
    Long decisions = 0;
    bool left = false;    // this side left the session (--quit-at, --leave-in-ready-wait)
    Long winner = -1;     // at the match end
    Long peerChara = 0;   // player 1's character at the match end
    std::string timeout;  // the state when the time limit passed; empty otherwise
};

// One match start on this side, from the set-up wait until the battle asks
// to end the match or this side leaves.
Outcome PlayOneStart(const Options& o, net::NetSession& session, std::ofstream& out,
                     const std::function<bool()>& passed) {
    platform::Clock& clock = platform::SystemClock();
    harness::MatchSetup setup;
    setup.GameMode = kNetworkMode;
    setup.AILevel = 3;
    setup.Chara0 = o.chara != 0 ? o.chara : (o.host ? 1 : 3);
    setup.Chara1 = 2;  // replaced by the peer's character
    setup.StageNumber = 1;
    setup.Keys = WalkScript(o.host ? 11 : 12);
    harness::MatchHarness match(setup);
    Outcome r;
    net::NetPlayerRecord last;
    Long playing = 0;
    Long lastWinner = -1;
    const auto leave = [&] {
        session.Close();
        net::BindGameSession(nullptr);
        r.left = true;
    };
    while (!match.Ended()) {
        if (passed()) {
            const battle::bGame& g = match.Game();
            r.timeout = "phase " + std::to_string(net::gNetOwn().State) + ", winner " +
                        std::to_string(g.Winner) + ", end count " + std::to_string(g.EndCount) +
                        ", lives " + std::to_string(battle::gPlayers()[0].Life) + " " +
                        std::to_string(battle::gPlayers()[1].Life);
            return r;
        }
        session.Poll();
        LinkStep(last);
        // A slow loader: once the set-up is agreed this side takes no more
        // steps, and leaves as soon as the host waits for it in its ready
        // wait (the host took this side's set-up).
        if (o.leaveInReadyWait && net::gNetOwn().State >= battle::kPhaseLoading) {
            if (net::gNetPeer().State >= battle::kPhaseLoading) {
                leave();
                std::cout << "left before the start\n";
                return r;
            }
            clock.SleepMs(1);
            continue;
        }
        auto& players = battle::gPlayers();
        if (net::gNetOwn().State == battle::kPhasePlaying) {
            r.played = true;
            ++playing;
            if (playing == o.quitAt) {
                leave();
                std::cout << "left the match\n";
                return r;
            }
            if (playing == kHitAt && o.host && !o.expectAbort) {
                players[0].Life = 2;
                players[0].HitStrength = 2;
            }
        }
        const Long peerX = players[1].X, peerY = players[1].Y;
        const Long ownX = net::gNetOwn().X, ownY = net::gNetOwn().Y;
        match.Step();
        battle::bGame& game = match.Game();
        if (game.Winner != lastWinner) {
            ++r.decisions;
            lastWinner = game.Winner;
        }
        const net::NetPlayerRecord& own = net::gNetOwn();
        if (r.played && (own.X != ownX || own.Y != ownY)) {
            out << "pub " << own.X << " " << own.Y << "\n";
        }
        if (r.played && (players[1].X != peerX || players[1].Y != peerY)) {
            out << "mir " << players[1].X << " " << players[1].Y << "\n";
        }
        clock.SleepMs(1);
    }
    const auto& players = battle::gPlayers();
    battle::bGame& game = match.Game();
    std::cout << (o.host ? "host" : "joiner") << ": winner " << game.Winner << " decisions "
              << r.decisions << " lives " << players[0].Life << " " << players[1].Life
              << " characters " << game.gd().CharaID(0) << " " << game.gd().CharaID(1) << "\n";
    r.winner = game.Winner;
    r.peerChara = game.gd().CharaID(1);
    return r;
}

// Polls the session until the log holds `line` or 500 polls have passed.
bool LoggedSoon(net::NetSession& session, const std::string& line) {
    const auto logged = [&] { return net::gNetLog().Text.find(line) != std::string::npos; };
    for (int i = 0; i < 500 && !logged(); ++i) {
        session.Poll();
        platform::SystemClock().SleepMs(1);
    }
    return logged();
}

int Run(const Options& o) {
    platform::Clock& clock = platform::SystemClock();
    const platform::Millis deadline = platform::DeadlineAfter(clock.NowMs(), o.limitMs);
    Silent silent;
    net::NetSession session(net::GameNet(), silent, clock);
    net::BindGameSession(&session);
    const std::function<bool()> passed = [&] {
        return platform::DeadlinePassed(clock.NowMs(), deadline);
    };

    if (o.host) {
        if (!session.Host("あきら", "127.0.0.1", 0)) return Fail(o, "cannot host");
        std::ofstream(o.portFile) << session.Port() << "\n";
    } else if (!session.Join(o.name, "127.0.0.1", o.port)) {
        return Fail(o, "cannot join");
    }
    while (net::gNetPeer().Name.empty()) {
        if (passed()) return Fail(o, "no peer");
        session.Poll();
        clock.SleepMs(1);
    }

    std::ofstream out(o.out);
    if (!o.expectLeft.empty()) {
        // The first start is agreed with a peer that leaves before the
        // match: it ends unplayed with the abort line naming that peer, and
        // the next start is played with whoever joins next.
        const Outcome first = PlayOneStart(o, session, out, passed);
        if (!first.timeout.empty()) return Fail(o, "time limit in phase " + first.timeout);
        if (first.played) return Fail(o, "the start agreed with the leaver was played");
        if (!LoggedSoon(session, o.expectLeft + std::string(battle::kNoticeAborted) + "\r\n"))
            return Fail(o, "no abort in the log: " + net::gNetLog().Text);
    }
    const Outcome r = PlayOneStart(o, session, out, passed);
    if (!r.timeout.empty()) return Fail(o, "time limit in " + r.timeout);
    if (r.left) return 0;
    if (!r.played) return Fail(o, "never played");
    const auto& players = battle::gPlayers();
    if (o.expectAbort) {
        // Back to the menus undecided, the line naming the peer that left
        // (it comes back through the session like any notice).
        if (r.decisions != 0 || !LoggedSoon(session, "みどりはゲームを中断しました\r\n"))
            return Fail(o, "no abort in the log: " + net::gNetLog().Text);
        net::BindGameSession(nullptr);
        return 0;
    }
    if (r.decisions != 1) return Fail(o, "not decided once");
    // The host's player 0 took the hit: on both sides the host lost.
    const Long wantWinner = o.host ? 1 : 0;
    const Long loser = o.host ? 0 : 1;
    if (r.winner != wantWinner) return Fail(o, "wrong winner");
    if (players[loser].Life != 0 || players[loser ^ 1].Life != 10) return Fail(o, "wrong lives");
    if (r.peerChara != (o.host ? 3 : 1)) return Fail(o, "wrong peer character");
    // The match end put this side back to waiting; stay until the peer is
    // there too, so neither sees the other vanish mid-match.
    while (!passed() && net::gNetPeer().State != battle::kPhaseWaiting &&
           !net::gNetPeer().Name.empty()) {
        session.Poll();
        clock.SleepMs(1);
    }
    for (int i = 0; i < 200; ++i) {
        session.Poll();
        clock.SleepMs(1);
    }
    net::BindGameSession(nullptr);
    return 0;
}

bool Number(std::string_view text, std::uint64_t& n) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    bool mode = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        std::uint64_t n = 0;
        const bool hasValue = i + 1 < argc;
        if (a == "--host") {
            o.host = mode = true;
        } else if (a == "--join" && hasValue && Number(argv[++i], n) && n > 0 && n <= 0xFFFF) {
            o.port = static_cast<std::uint16_t>(n);
            mode = true;
        } else if (a == "--port-file" && hasValue) {
            o.portFile = argv[++i];
        } else if (a == "--quit-at" && hasValue && Number(argv[++i], n) && n > 0 && n < 100000) {
            o.quitAt = static_cast<Long>(n);
        } else if (a == "--expect-abort") {
            o.expectAbort = true;
        } else if (a == "--expect-left" && hasValue) {
            o.expectLeft = argv[++i];
        } else if (a == "--name" && hasValue) {
            o.name = argv[++i];
        } else if (a == "--chara" && hasValue && Number(argv[++i], n) && n >= 1 && n <= 8) {
            o.chara = static_cast<Long>(n);
        } else if (a == "--leave-in-ready-wait") {
            o.leaveInReadyWait = true;
        } else if (a == "--out" && hasValue) {
            o.out = argv[++i];
        } else if (a == "--limit-ms" && hasValue && Number(argv[++i], n)) {
            o.limitMs = static_cast<platform::Millis>(n);
        } else {
            mode = false;
            break;
        }
    }
    if (!mode || o.out.empty() || (o.host && o.portFile.empty())) {
        std::cerr << "usage: brumil_net_match (--host --port-file F | --join PORT) --out F"
                     " [--quit-at N] [--expect-abort] [--expect-left NAME] [--name NAME]"
                     " [--chara N] [--leave-in-ready-wait] [--limit-ms N]\n";
        return 2;
    }
    return Run(o);
}
