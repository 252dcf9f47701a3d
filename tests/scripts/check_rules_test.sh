#!/usr/bin/env bash
# The house-rules check over small temporary trees: a tree of files that keep
# every rule (including the exceptions the rules allow) passes; adding one file
# with one breach fails the check with exactly that breach, named by file and
# line.
#   check_rules_test.sh <check-rules> <.clang-format>
set -uo pipefail

check=$1
style=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

put() {  # put <tree> <path> <text>
    mkdir -p "$(dirname "$1/$2")"
    printf '%s' "$3" >"$1/$2"
}

# Files that keep the rules, several of them only through an allowed exception.
make_clean_tree() {
    local t=$1
    mkdir -p "$t"
    cp "$style" "$t/.clang-format"
    put "$t" platform/base/src/window.cpp $'#include <SDL.h>\n#include <unistd.h>\n\nint Pid() {\n    return getpid();\n}\n'
    put "$t" platform/base/src/env.cpp $'#include <cstdlib>\n\nconst char* Home() {\n    return std::getenv("HOME");\n}\n'
    put "$t" platform/media/src/player.cpp $'#include "platform/base/files.h"\n#include "platform/sound/mixer.h"\n'
    put "$t" core/src/api.cpp $'#include <filesystem>\n#include <vector>\n\n#include "api_private.h"\n#include "platform/base/files.h"\n\n// Never printf( here; "getenv(" in a text is no call.\n/* Nor rand() in a\n   comment: std::exit(0) */\nconst char* kText = "rand() and std::exit(0)";\n'
    put "$t" core/src/api_private.h $'#pragma once\n'
    put "$t" frontend/src/title.cpp $'#include "battle/b_game.h"\n#include "net/session.h"\n#include "platform/ui/overlay.h"\n#include "sound/bgm.h"\n'
    put "$t" script/src/compile.cpp $'#include "core/text.h"\n'
    put "$t" app/src/main.cpp $'#include <cstdlib>\n\nint main() {\n    std::srand(1);\n    return std::getenv("X") != nullptr ? std::rand() : 0;\n}\n'
    put "$t" app/src/shell.cpp $'#include "frontend/title.h"\n#include "script/compile.h"\n'
    put "$t" tools/pak/main.cpp $'#include <cstdio>\n\nint main() {\n    std::printf("pak\\n");\n    return 0;\n}\n'
    put "$t" tests/core/api_test.cpp $'#include <gtest/gtest.h>\n#include <unistd.h>\n\n#include "app/the_app.h"\n#include "span.h"\n\nTEST(Api, Random) {\n    EXPECT_GE(std::rand(), 0);\n}\n'
    put "$t" bench/sprite_bench.cpp $'#include <benchmark/benchmark.h>\n\n#include "bench/support/sdl_reference_renderer.h"\n'
    local i
    mkdir -p "$t/render/src"
    for ((i = 0; i < 700; i++)); do echo "// line" >>"$t/render/src/long.cpp"; done
}

# One case per line: path | contents | the breach expected, as
# "path:line: start of the message".
cases=(
    "core/src/sdl.cpp|#include <SDL.h>\n|core/src/sdl.cpp:1: third-party or system header <SDL.h>"
    "framework/src/posix.cpp|// Files.\n#include <sys/stat.h>\n|framework/src/posix.cpp:2: third-party or system header <sys/stat.h>"
    "image/src/gz.cpp|#include <zlib.h>\n|image/src/gz.cpp:1: third-party or system header <zlib.h>"
    "core/src/up.cpp|#include \"frontend/view.h\"\n|core/src/up.cpp:1: \"frontend/view.h\" is not below core"
    "render/src/up.cpp|#include \"sound/bgm.h\"\n|render/src/up.cpp:1: \"sound/bgm.h\" is not below render"
    "script/src/up.cpp|#include \"framework/job_list.h\"\n|script/src/up.cpp:1: \"framework/job_list.h\" is not below script"
    "net/src/up.cpp|#include \"battle/b_game.h\"\n|net/src/up.cpp:1: \"battle/b_game.h\" is not below net"
    "platform/gfx/src/side.cpp|#include \"platform/sound/mixer.h\"\n|platform/gfx/src/side.cpp:1: \"platform/sound/mixer.h\" is not below platform_gfx"
    "platform/base/src/up.cpp|#include \"core/api.h\"\n|platform/base/src/up.cpp:1: \"core/api.h\" is not below platform_base"
    "tests/gfx/span_test.cpp|#include \"../../platform/gfx/src/span.h\"\n|tests/gfx/span_test.cpp:1: relative include"
    "sound/src/r.cpp|int Draw() {\n    return std::rand() % 6;\n}\n|sound/src/r.cpp:2: \"rand\" outside platform/"
    "battle/src/s.cpp|void Seed() {\n    srand(7);\n}\n|battle/src/s.cpp:2: \"srand\" outside platform/"
    "frontend/src/p.cpp|void Say() {\n    printf(\"x\");\n}\n|frontend/src/p.cpp:2: \"printf\" outside platform/"
    "image/src/f.cpp|void Open() {\n    fopen(\"a\", \"r\");\n}\n|image/src/f.cpp:2: \"fopen\" outside platform/"
    "tools/pak/src/e.cpp|void Env() {\n    std::getenv(\"A\");\n}\n|tools/pak/src/e.cpp:2: \"getenv\" outside platform/"
    "framework/src/c.cpp|auto Now() {\n    return std::chrono::system_clock::now();\n}\n|framework/src/c.cpp:2: \"system_clock\" outside platform/"
    "core/src/cwd.cpp|auto Here() {\n    return std::filesystem::current_path();\n}\n|core/src/cwd.cpp:2: \"current_path\" outside platform/"
    "app/src/start.cpp|void End() {\n    std::exit(1);\n}\n|app/src/start.cpp:2: \"std::exit\" outside platform/"
    "render/src/long.cpp|// line\n|render/src/long.cpp:701: file passes 700 lines (701)"
    "battle/src/fmt.cpp|int  x = 1;\n|battle/src/fmt.cpp:1: not clang-format clean"
    "misc/thing.cpp|int y = 2;\n|misc/thing.cpp:1: folder \"misc\" is not in the layer graph"
)

clean="$work/clean"
make_clean_tree "$clean"
out=$(bash "$check" "$clean" 2>&1)
rc=$?
if [ $rc -ne 0 ] || [ -n "$out" ]; then
    echo "FAIL: the clean tree does not pass (exit $rc):"
    echo "$out"
    failures=$((failures + 1))
fi

n=0
for c in "${cases[@]}"; do
    n=$((n + 1))
    path=${c%%|*}
    rest=${c#*|}
    text=${rest%%|*}
    expected=${rest#*|}
    tree="$work/case$n"
    cp -r "$clean" "$tree"
    mkdir -p "$(dirname "$tree/$path")"
    printf '%b' "$text" >>"$tree/$path"
    out=$(bash "$check" "$tree" 2>/dev/null)
    rc=$?
    lines=$(printf '%s\n' "$out" | grep -c .)
    if [ $rc -ne 1 ] || [ "$lines" -ne 1 ] || [[ "$out" != "$expected"* ]]; then
        echo "FAIL: $path: exit $rc, expected one breach \"$expected...\", got:"
        echo "$out"
        failures=$((failures + 1))
    fi
done

echo "check_rules: $n breach cases and one clean tree, $failures failure(s)"
[ $failures -eq 0 ]
