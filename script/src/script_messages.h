#pragma once
// The interpreter's error texts. Messages that name something are built by
// the helpers below from a head, the name and a tail.

#include <string>
#include <string_view>

namespace brumil::script::msg {

inline constexpr std::string_view kSyntax = "構文エラー";
inline constexpr std::string_view kDeclName = "宣言構文に使用された名前にエラー";
inline constexpr std::string_view kDeclOperator = "宣言構文の演算子にエラー";
inline constexpr std::string_view kDecl = "宣言構文のエラー";
inline constexpr std::string_view kNestTooDeep = "ネストが深すぎます";
inline constexpr std::string_view kOutsideBlock = "ブロックの外側です";
inline constexpr std::string_view kEndWithoutBlock = "ブロックが開始されずにEndが呼び出されました";
inline constexpr std::string_view kNextWithoutBlock =
    "ブロックが開始されずにNextが呼び出されました";
inline constexpr std::string_view kBlockNotClosed = "ブロックが閉じられていません";
inline constexpr std::string_view kBlockOpenAtRun = "ブロックが閉じていません";
inline constexpr std::string_view kNoMarkerHere = "この構文には $ を使用できません";
inline constexpr std::string_view kOutOfRange = "領域の範囲外を参照しました";
inline constexpr std::string_view kBadIndex = "配列の参照方法が不正です";
inline constexpr std::string_view kTooManyElements = "配列の要素が多すぎます";
inline constexpr std::string_view kNoAssignOperator = "代入演算子が指定されていません";
inline constexpr std::string_view kBadAssignOperator = "代入演算子が不正です";
inline constexpr std::string_view kTooLong = "式が長すぎます";
inline constexpr std::string_view kNoValue = "計算できません";
inline constexpr std::string_view kExpression = "式のエラーです";
inline constexpr std::string_view kBadOperator = "無効な演算子です";

inline std::string Named(std::string_view head, std::string_view name, std::string_view tail) {
    std::string s(head);
    s += name;
    s += tail;
    return s;
}

inline std::string Duplicate(std::string_view name) {
    return Named("識別子 ", name, " が重複して宣言されています");
}
inline std::string Undeclared(std::string_view name) {
    return Named("識別子 ", name, " は宣言されていません");
}
inline std::string NotAVariable(std::string_view name) {
    return Named("識別子 ", name, " は変数として参照できません");
}
inline std::string NotForMarkers(std::string_view name) {
    return Named("識別子 ", name, " は変換に使用できません");
}
inline std::string UndeclaredInMarker(std::string_view content) {
    return Named("変数 ", content, " は宣言されていません");
}
inline std::string DuplicateLabel(std::string_view label) {
    return Named("ラベル ", label, " が重複して宣言されています");
}
inline std::string UndefinedLabel(std::string_view label) {
    return Named("ラベル ", label, " は定義されていません");
}
// A host command code that would collide with the interpreter's own kinds.
inline std::string ReservedCode(std::string_view name) {
    return Named("コマンド ", name, " のコード番号は 5 以上にしてください");
}

}  // namespace brumil::script::msg
