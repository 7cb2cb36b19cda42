#!/usr/bin/env bash
# The installed copy and the Debian package, from a built tree:
#
#   tests/packaging/install.sh BUILD_DIR VERSION
#
# installs into a temporary prefix (with a space in its name, which the desktop entry must quote)
# and checks the layout, the launchers, the icons, the validators' verdicts on the desktop entry and
# the AppStream metadata, the manuals and the changelog, voltaro-cli's --help and --version; then
# makes the package with cpack and checks its files and declared dependencies, and that apt can
# install it here. Prints one line per check and closes with "N passed, N failed".
set -u
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
ok() { echo "PASS: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1${2:+ ($2)}"; failed=$((failed + 1)); }

# Everything installed: type (f file, l link, d folder) and path under the prefix.
expected="d bin
l bin/voltaro
l bin/voltaro-cli
d lib
d lib/voltaro
f lib/voltaro/Tonebank.so
f lib/voltaro/Voltaro
f lib/voltaro/Voltaro.dat
f lib/voltaro/Zephlib.so
f lib/voltaro/voltaro-cli
d share
d share/applications
f share/applications/voltaro.desktop
d share/doc
d share/doc/voltaro
f share/doc/voltaro/changelog.gz
f share/doc/voltaro/copyright
d share/doc/voltaro/html
f share/doc/voltaro/html/index.html
d share/doc/voltaro/html/pictures
d share/icons
d share/icons/hicolor"
sizes="16 22 24 32 48 64 128 256"
for p in face display key-square key-round print off enter exit knob; do expected+=$'\n'"f share/doc/voltaro/html/pictures/$p.png"; done
for size in $sizes; do
    expected+=$'\n'"d share/icons/hicolor/${size}x$size"$'\n'"d share/icons/hicolor/${size}x$size/apps"
    expected+=$'\n'"f share/icons/hicolor/${size}x$size/apps/voltaro.png"
done
expected+="
d share/man
d share/man/man1
f share/man/man1/voltaro-cli.1.gz
f share/man/man1/voltaro.1.gz
d share/metainfo
f share/metainfo/org.example.voltaro.metainfo.xml"
expected=$(sort <<<"$expected")

# ---- cmake --install ---------------------------------------------------------------------------
prefix="$work/my prefix"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    bad "cmake --install" "$(tail -5 "$work/install.log")"
    echo "$passed passed, $failed failed"
    exit 1
fi
listed=$(cd "$prefix" && find . -mindepth 1 -printf '%y %P\n' | sort)
if [ "$listed" = "$expected" ]; then ok "the install layout"
else bad "the install layout" "$(diff <(echo "$expected") <(echo "$listed") | grep '^[<>]' | tr '\n' ' ')"; fi

for name in voltaro:Voltaro voltaro-cli:voltaro-cli; do
    target=$(readlink -f "$prefix/bin/${name%%:*}")
    if [ "$target" = "$prefix/lib/voltaro/${name#*:}" ]; then ok "bin/${name%%:*} leads to the application folder"
    else bad "bin/${name%%:*} leads to the application folder" "$target"; fi
done

entry="$prefix/share/applications/voltaro.desktop"
if out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] &&
    grep -qxF "Exec=\"$prefix/bin/voltaro\"" "$entry" && grep -qxF "Icon=voltaro" "$entry"; then
    ok "the desktop entry passes desktop-file-validate and starts the launcher"
else
    bad "the desktop entry" "$out $(grep '^Exec' "$entry")"
fi
if out=$(appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.xml 2>&1) &&
    out2=$(appstreamcli validate-tree --no-net --pedantic "$prefix" 2>&1); then
    ok "the AppStream metadata passes appstreamcli validate and validate-tree"
else
    bad "the AppStream metadata" "$out ${out2:-}"
fi

wrong=""
for size in $sizes; do
    got=$(identify -format '%w %h %[channels]' "$prefix/share/icons/hicolor/${size}x$size/apps/voltaro.png" 2>&1)
    [[ "$got" == "$size $size srgba"* ]] || wrong+=" $size: $got"
done
if [ -z "$wrong" ]; then ok "an icon at each size, with transparency"; else bad "the icons" "$wrong"; fi

cli="$prefix/bin/voltaro-cli"
manual=$(MANWIDTH=100 man --warnings -E UTF-8 -l "$prefix/share/man/man1/voltaro-cli.1.gz" 2>"$work/man.err")
commands=$("$cli" --help | sed -n '/^commands:/,/^$/p' | awk 'NF && !/^commands:/ {print $1}')
missing=""
for command in $commands; do grep -qE "^ +$command( |$)" <<<"$manual" || missing+=" $command"; done
MANWIDTH=100 man --warnings -E UTF-8 -l "$prefix/share/man/man1/voltaro.1.gz" 2>>"$work/man.err" |
    grep -qF "$prefix/lib/voltaro" || missing+=" (voltaro.1 without the application folder)"
if [ -s "$work/man.err" ] || [ -n "$missing" ] || [ "$(wc -w <<<"$commands")" -lt 8 ]; then
    bad "the manuals render cleanly; voltaro-cli's has every command of --help" "$(cat "$work/man.err") missing:$missing"
else
    ok "the manuals render cleanly; voltaro-cli's has every command of --help"
fi
guide="$prefix/share/doc/voltaro/html"
absent=$(grep -o 'src="[^"]*"' "$guide/index.html" | sed 's/^src="//; s/"$//' | while read -r f; do [ -f "$guide/$f" ] || echo "$f"; done)
if [ -z "$absent" ] && grep -q '<title>Voltaro Help</title>' "$guide/index.html"; then ok "the HTML guide and every picture it shows"
else bad "the HTML guide" "missing: $absent"; fi
# The changelog's newest entry is this version: a release that forgets its entry is caught here.
released=$(zcat "$prefix/share/doc/voltaro/changelog.gz" | sed -n '1s/^voltaro (\([^)]*\)).*/\1/p')
if [ "$released" = "$version" ]; then ok "the changelog's newest entry is version $version"
else bad "the changelog's newest entry" "'$released', not $version"; fi
if [ "$("$cli" --version)" = "voltaro-cli $version" ] && "$cli" --help | grep -q '^usage: voltaro-cli'; then
    ok "voltaro-cli --version and --help"
else
    bad "voltaro-cli --version and --help" "$("$cli" --version 2>&1)"
fi

# ---- cpack -G DEB ------------------------------------------------------------------------------
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
    bad "cpack -G DEB" "$(tail -5 "$work/cpack.log")"
    echo "$passed passed, $failed failed"
    exit 1
fi
deb=$(ls "$work"/package/voltaro_"$version"_*.deb)
inside=$(dpkg-deb -c "$deb" | awk '{t = substr($1, 1, 1); p = $6; sub(/^\.\/usr\/?/, "", p); sub(/\/$/, "", p)
                                    if (p != "") print (t == "-" ? "f" : t) " " p}' | sort)
packaged_exec=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/voltaro.desktop | grep '^Exec=')
if [ "$inside" = "$expected" ] && [ "$packaged_exec" = "Exec=/usr/bin/voltaro" ]; then
    ok "the package holds the install layout under /usr, its menu entry starts /usr/bin/voltaro"
else
    bad "the package's files" "$packaged_exec $(diff <(echo "$expected") <(echo "$inside") | grep '^[<>]' | tr '\n' ' ')"
fi

depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
missing=""
# From the libraries the files link (dpkg-shlibdeps), and the two no file links.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
    libqt6printsupport6 libsqlcipher0 libcups2 libsdl2-2.0-0 fonts-liberation; do
    grep -qxF "$package" <<<"$names" || missing+=" $package"
done
if [ -z "$missing" ] && grep -q 'libqt6widgets6 (>= ' <<<"$depends"; then
    ok "the package depends on what it links and loads, with versions from the libraries"
else
    bad "the package's dependencies" "missing$missing in: $depends"
fi
if out=$(apt-get install --simulate --no-install-recommends "$deb" 2>&1) &&
    grep -q '^Inst voltaro ' <<<"$out"; then
    ok "apt can install it (simulated)"
else
    bad "apt can install it (simulated)" "$(tail -3 <<<"$out")"
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
