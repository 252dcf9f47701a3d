#pragma once
// What the running match reads from and writes to the network records
// (gNetOwn, gNetPeer): the phases, the peer's values once it plays this
// match, and the texts of the waits. Jobs 1 to 3 drive the phases through
// match_seams.h; the frame steps use the helpers here.

#include <string_view>

#include "core/vb_types.h"

namespace brumil::battle {

class bGame;
struct PlayerRecord;

// The phases (the own record's State, sent to the peer):
//   2 waiting for the peer, 3 own set-up sent and ready, 4 loading,
//   5 loaded and waiting for the peer, 6 playing, 7 decided.
inline constexpr Long kPhaseWaiting = 2;
inline constexpr Long kPhaseReady = 3;
inline constexpr Long kPhaseLoading = 4;
inline constexpr Long kPhaseLoaded = 5;
inline constexpr Long kPhasePlaying = 6;
inline constexpr Long kPhaseDecided = 7;

inline constexpr std::string_view kTextNoOpponent = "対戦相手が居ません";
inline constexpr std::string_view kTextNoSession =
    "通信できません\r\nセッションを作成するか\r\nセッションを検索してください";
inline constexpr std::string_view kTextWaitingForPeer = "対戦相手が準備するのを待っています";
inline constexpr std::string_view kTextLoading = "now loading...";
inline constexpr std::string_view kNoticeReady = "は準備を終えました";
inline constexpr std::string_view kNoticeCancelled = "はキャンセルしました";
inline constexpr std::string_view kNoticeAborted = "はゲームを中断しました";
inline constexpr std::string_view kNoticeGameOver = "ゲームは終了しました";
// Followed by the character number the peer sent.
inline constexpr std::string_view kLogPeerSetupRefused =
    "対戦相手の設定を受け付けません: キャラクター番号が 1 から 8 の外です: ";

// True once the peer has reached phase 6 of this match (its state was
// cleared when this match's wait began, and the wait ended only after its
// set-up message, so an older match's phase cannot count).
bool PeerPlaysThisMatch();

// Sets the own phase and sends it.
void SetOwnPhase(Long phase);

// The peer's position turned by half a turn, clamped to the player's
// bounds, becomes the player's; nothing while the peer does not play this
// match or sent no position yet (both values 0).
void TakePeerPosition(PlayerRecord& player);

// Publishes the own player's position for the next input message.
void PublishOwnPosition(Long x, Long y);

}  // namespace brumil::battle
