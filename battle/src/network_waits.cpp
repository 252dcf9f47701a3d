// The network match's phases: job 1's wait for the peer and the exchange of
// the set-up values, job 3's wait until both have loaded, the abort when the
// peer of the agreed set-up leaves before or during the match, and the peer's
// position.
#include <string>
#include <string_view>

#include "battle/b_game.h"
#include "battle/match_seams.h"
#include "battle/network_match.h"
#include "battle/player_record.h"
#include "framework/input_state.h"
#include "framework/maxwell.h"
#include "framework/vkey.h"
#include "net/net_globals.h"
#include "net/net_input.h"
#include "net/net_message.h"
#include "render/graphics.h"
#include "sound/sound_effects.h"

namespace brumil::battle {
namespace {

constexpr std::string_view kWaitPicturePath = "\\data\\WaitNetwork.bmp";
constexpr std::string_view kWaitFont = "あくあ";
constexpr Long kWaitFontSize = 24;
constexpr Long kWaitTextX = 32;
constexpr Long kWaitTextY = 228;
constexpr Long kWaitTextWidth = 576;
constexpr Long kWaitTextHeight = 96;
constexpr Long kWhite = 0xFF;
constexpr Long kBlendBySourceAlpha = 4;                      // picture blit mode
constexpr Long kCancelButton = framework::kVKeyButton1 + 1;  // button 2

// Sent to both logs; without a session only this side's log gets it.
void SendNotice(std::string_view name, std::string_view text) {
    const std::string line = std::string(name) + std::string(text);
    const std::string_view texts[] = {line};
    if (!net::SendTextMessage(net::kNoticeMessage, texts)) net::AddNetworkLogLine(line);
}

// Steps where drawing is off run none of the waits' per-step texts; a
// headless match (no frame host) runs them and draws nothing.
bool PaintDisabled() {
    const auto& host = framework::gMaxwell();
    return host && host->Config().PaintDisable;
}

// The text goes onto a copy of the picture, so the picture keeps no text for
// the next one: the letters in white by their coverage (the text picture's
// alpha), the picture showing around and between them.
void DrawWaitPicture(bGame& game) {
    const auto& host = framework::gMaxwell();
    if (!host || !game.WaitPicture) return;
    if (game.NetWaitText.empty()) {
        game.WaitPicture->DrawGDI(0, 0, 0, 0, 0, 0, false);
    } else {
        render::CGraphics text;
        text.LoadText(game.NetWaitText, kWaitTextWidth, kWaitTextHeight, kWaitFontSize, kWaitFont,
                      0, true, 0, 0, 0, 0, false);
        text.ChooseColor(kWhite, kWhite, kWhite);
        render::CGraphics shown;
        shown.Image.CreateBBICopy(game.WaitPicture->Image);
        shown.Blt(text.Image, kWaitTextX, kWaitTextY, kWaitTextWidth, kWaitTextHeight, 0, 0,
                  kBlendBySourceAlpha);
        shown.DrawGDI(0, 0, 0, 0, 0, 0, false);
    }
    host->RePaint();
}

// The text of a wait with a name missing; empty when both are present.
std::string_view MissingNameText() {
    if (net::gNetOwn().Name.empty()) return kTextNoSession;
    if (net::gNetPeer().Name.empty()) return kTextNoOpponent;
    return {};
}

// Button 2 of player 0 or the right mouse button, pressed in this step.
bool CancelPressed() {
    return framework::VKey()[0][kCancelButton] == 1 || framework::gInputState().MouseRight == 1;
}

void Cancel(bGame& game, Long cancelPhase) {
    net::NetPlayerRecord& own = net::gNetOwn();
    if (own.State == cancelPhase) SendNotice(own.Name, kNoticeCancelled);
    if (game.FrontEnd.EndMatch) game.FrontEnd.EndMatch();
    SetOwnPhase(kPhaseWaiting);
    sound::PlayMenuSound3();
}

// A set-up message of this wait arrived: the wait cleared the values, and a
// character is never 0 in one. A character outside 1..8 is refused, not
// replaced: the match could only guess whom the peer plays. The log says why
// once per wait.
bool PeerSetupArrived(bGame& game) {
    const Long chara = net::gNetPeer().SetupB;
    if (chara == 0) return false;
    if (chara >= net::kSetupCharacterMin && chara <= net::kSetupCharacterMax) return true;
    if (!game.NetSetupRefused) {
        game.NetSetupRefused = true;
        net::AddNetworkLogLine(std::string(kLogPeerSetupRefused) + std::to_string(chara));
    }
    return false;
}

void SendSetup(const BGameOption& options) {
    const Long values[] = {net::gNetOwn().State, options.AILevel, options.CharaID(0),
                           options.StageNumber, 0};
    net::SendGameMessage(net::kSetupMessage, values);
}

// What the peer's set-up gives this side: the peer's character as player
// 1's (the wait took it only in range); on the joiner the host's AI level and
// stage. Out-of-range values of those leave the own ones.
struct PeerTerms {
    Long chara;
    Long level;
    Long stage;
    bool operator==(const PeerTerms&) const = default;
};

PeerTerms TermsFromPeer(bGame& game) {
    const BGameOption& options = game.gd();
    const net::NetPlayerRecord& peer = net::gNetPeer();
    PeerTerms terms{peer.SetupB, options.AILevel, options.StageNumber};
    if (game.FrontEnd.JoinedNetworkSession && game.FrontEnd.JoinedNetworkSession()) {
        terms.level = net::CheckedSetupValue(peer.SetupA, net::kSetupLevelMin, net::kSetupLevelMax,
                                             options.AILevel);
        terms.stage = net::CheckedSetupValue(peer.SetupC, net::kSetupStageMin, net::kSetupStageMax,
                                             options.StageNumber);
    }
    return terms;
}

// The values both sides play with: this side's character as player 0, the
// rest from the peer's set-up. The name is kept for the abort line: it is the
// player this match was agreed with.
void AgreeOptions(bGame& game) {
    BGameOption& options = game.gd();
    const PeerTerms terms = TermsFromPeer(game);
    options.CharaID(1, terms.chara);
    options.AILevel = terms.level;
    options.StageNumber = terms.stage;
    game.NetPeerName = net::gNetPeer().Name;
}

// The match was loaded on the set-up of a peer that is no longer there to
// play it: it left (the session cleared its record and set-up, and whoever
// joined since sent none or another), went back to the menus, or now sends a
// set-up that gives other values.
bool AgreedPeerGone(bGame& game) {
    const net::NetPlayerRecord& peer = net::gNetPeer();
    if (peer.Name.empty() || peer.State < kPhaseReady) return true;
    const BGameOption& options = game.gd();
    return TermsFromPeer(game) !=
           PeerTerms{options.CharaID(1), options.AILevel, options.StageNumber};
}

// The peer of this match is gone: both logs say so and the front end goes
// back to the menus.
void AbortForPeer(bGame& game) {
    const net::NetPlayerRecord& peer = net::gNetPeer();
    // The record of a player who left is already cleared: the line keeps
    // the name the peer had in this match.
    const std::string& name = game.NetPeerName.empty() ? peer.Name : game.NetPeerName;
    SendNotice(name, kNoticeAborted);
    if (game.FrontEnd.EndMatch) game.FrontEnd.EndMatch();
    sound::PlayMenuSound3();
}

}  // namespace

void SetOwnPhase(Long phase) {
    net::gNetOwn().State = phase;
    const Long values[] = {phase};
    net::SendGameMessage(net::kStateMessage, values);
}

bool PeerPlaysThisMatch() {
    return net::gNetPeer().State >= kPhasePlaying;
}

void TakePeerPosition(PlayerRecord& player) {
    if (!PeerPlaysThisMatch()) return;
    const net::NetPlayerRecord& peer = net::gNetPeer();
    if (peer.X == 0 && peer.Y == 0) return;
    net::MirroredPeerPosition(peer.X, peer.Y,
                              net::FieldBounds{player.MinX, player.MaxX, player.MinY, player.MaxY},
                              player.X, player.Y);
}

void PublishOwnPosition(Long x, Long y) {
    net::gNetOwn().X = x;
    net::gNetOwn().Y = y;
}

bool NetworkWaitStep(bGame& game, Long message) {
    net::NetPlayerRecord& own = net::gNetOwn();
    net::NetPlayerRecord& peer = net::gNetPeer();
    if (message == 1) {
        own.State = kPhaseWaiting;
        // Whatever the peer said before this wait belongs to another match.
        peer.State = 0;
        peer.SetupA = peer.SetupB = peer.SetupC = 0;
        game.NetWaitText.clear();
        game.NetSetupRefused = false;
        game.WaitPicture = std::make_shared<render::CGraphics>();
        game.WaitPicture->Load(kWaitPicturePath);
        if (own.Name.empty()) {
            DrawWaitPicture(game);
            if (game.FrontEnd.OpenNetworkSetup) game.FrontEnd.OpenNetworkSetup();
        }
        SetOwnPhase(kPhaseWaiting);
        return false;
    }
    if (message != 0) return false;
    if (!PaintDisabled()) {
        const std::string_view missing = MissingNameText();
        if (!missing.empty()) {
            own.State = kPhaseWaiting;
            game.NetWaitText = missing;
        } else {
            if (own.State == kPhaseWaiting) {
                SendNotice(own.Name, kNoticeReady);
                own.State = kPhaseReady;
            }
            game.NetWaitText = kTextWaitingForPeer;
        }
        DrawWaitPicture(game);
        SetOwnPhase(own.State);
    }
    SendSetup(game.gd());
    if (own.State == kPhaseReady && peer.State > kPhaseWaiting && PeerSetupArrived(game)) {
        SetOwnPhase(kPhaseLoading);
        game.NetWaitText = kTextLoading;
        DrawWaitPicture(game);
        AgreeOptions(game);
        return true;
    }
    if (CancelPressed()) Cancel(game, kPhaseReady);
    return false;
}

bool NetworkReadyStep(bGame& game, Long message) {
    net::NetPlayerRecord& own = net::gNetOwn();
    net::NetPlayerRecord& peer = net::gNetPeer();
    if (message == 1) {
        // From here on every input message carries this match's start: an
        // older life or position must not reach a peer that already counts
        // this side as playing.
        own.Extra = gPlayers()[0].Life;
        PublishOwnPosition(gPlayers()[0].X, gPlayers()[0].Y);
        own.State = kPhaseLoading;
        if (own.Name.empty()) {
            DrawWaitPicture(game);
            if (game.FrontEnd.OpenNetworkSetup) game.FrontEnd.OpenNetworkSetup();
        }
        SetOwnPhase(kPhaseLoading);
        return false;
    }
    if (message != 0) return false;
    // Starting now would play a set-up that the present peer did not send:
    // the next start exchanges them afresh.
    if (AgreedPeerGone(game)) {
        AbortForPeer(game);
        return false;
    }
    if (!PaintDisabled()) {
        const std::string_view missing = MissingNameText();
        if (!missing.empty()) {
            own.State = kPhaseLoading;
            game.NetWaitText = missing;
        } else if (own.State == kPhaseLoading) {
            own.State = kPhaseLoaded;
        }
        DrawWaitPicture(game);
        SetOwnPhase(own.State);
    }
    // The set-up goes on until the match runs: a peer whose wait began after
    // this side's ended (its start clears what came before) still gets one.
    SendSetup(game.gd());
    if (own.State == kPhaseLoaded && peer.State > kPhaseLoading) {
        SetOwnPhase(kPhasePlaying);
        game.NetWaitText.clear();
        // The per-frame values start afresh; the lives (sent with each
        // input) start from the reset players.
        own.Extra = gPlayers()[0].Life;
        peer.Extra = gPlayers()[1].Life;
        // The own frame counter keeps rising: the peer takes only later
        // frames, and input sent before this point may still be on its way.
        own.X = own.Y = own.KeyBits = 0;
        own.Pending = false;
        peer.X = peer.Y = peer.Frame = peer.KeyBits = peer.LatestBits = 0;
        peer.Pending = false;
        return true;
    }
    if (CancelPressed()) Cancel(game, kPhaseLoaded);
    return false;
}

void NetworkAbortCheck(bGame& game) {
    net::NetPlayerRecord& own = net::gNetOwn();
    const net::NetPlayerRecord& peer = net::gNetPeer();
    if (own.State == kPhasePlaying && (peer.Name.empty() || peer.State < kPhaseReady)) {
        AbortForPeer(game);
    }
    // A match run without the set-up wait names the peer it first saw.
    if (game.NetPeerName.empty()) game.NetPeerName = peer.Name;
    if (peer.State == kPhaseDecided) own.State = kPhaseDecided;
}

void NetworkMatchEnd() {
    net::NetPlayerRecord& own = net::gNetOwn();
    if (net::gNetPeer().State == kPhaseWaiting && own.State == kPhaseDecided) {
        const std::string_view texts[] = {kNoticeGameOver};
        net::SendTextMessage(net::kNoticeMessage, texts);
    }
    SetOwnPhase(kPhaseWaiting);
}

}  // namespace brumil::battle
