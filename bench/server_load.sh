#!/usr/bin/env bash
# Load test of the web server: N clients (default 50) submit N random cubes at the same time
# and each must get back a maneuver in the HTML frame. Run it against a running server, e.g.
#   tesserix-cli serve --port 8080 &        (or the desktop program with the server enabled)
#   bench/server_load.sh --port 8080 --clients 50 --cli build/release/app/tesserix-cli
# Cubes come from `tesserix-cli random` (seeded, so runs repeat); without the CLI the six
# cubes one face turn from solved are used. Prints one line per failure and a summary; exits 1
# when any client failed.
set -u

host=127.0.0.1
port=8080
clients=50
cli=""
seed=20240101
timeout=300
mix=0

usage() {
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
    echo "options: --host H --port P --clients N --cli PATH --seed S --timeout SECONDS --mix"
    echo "  --mix  also send ?getLast and ?status requests between the cubes"
}

while [ $# -gt 0 ]; do
    case "$1" in
        --host) host=$2; shift 2 ;;
        --port) port=$2; shift 2 ;;
        --clients) clients=$2; shift 2 ;;
        --cli) cli=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --timeout) timeout=$2; shift 2 ;;
        --mix) mix=1; shift ;;
        -h|--help) usage; exit 0 ;;
        *) echo "unknown option $1" >&2; usage >&2; exit 2 ;;
    esac
done

command -v curl > /dev/null || { echo "curl is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The cubes, one facelet string per line.
if [ -n "$cli" ]; then
    "$cli" random -n "$clients" --seed "$seed" > "$work/cubes" || { echo "tesserix-cli random failed" >&2; exit 2; }
else
    # Without the CLI: the six cubes one quarter turn away from solved, over and over.
    faces=(UUUUUUUUUBBBRRRRRRRRRFFFFFFDDDDDDDDDFFFLLLLLLLLLBBBBBB
           UUFUUFUUFRRRRRRRRRFFDFFDFFDDDBDDBDDBLLLLLLLLLUBBUBBUBB
           UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB
           UUUUUUUUURRRRRRFFFFFFFFFLLLDDDDDDDDDLLLLLLBBBBBBBBBRRR
           BUUBUUBUURRRRRRRRRUFFUFFUFFFDDFDDFDDLLLLLLLLLBBDBBDBBD
           RRRUUUUUURRDRRDRRDFFFFFFFFFDDDDDDLLLULLULLULLBBBBBBBBB)
    for ((i = 0; i < clients; i++)); do echo "${faces[$((i % 6))]}"; done > "$work/cubes"
fi

html_prefix=$'<HTML><BODY>\r\n'
start=$(date +%s.%N)
i=0
while read -r cube; do
    (
        body=$(curl -s -S --max-time "$timeout" "http://$host:$port/?$cube" 2> "$work/err.$i")
        echo "$body" > "$work/body.$i"
    ) &
    if [ "$mix" = 1 ]; then
        curl -s --max-time "$timeout" "http://$host:$port/?getLast" > "$work/last.$i" &
        curl -s --max-time "$timeout" "http://$host:$port/?status" > "$work/status.$i" &
    fi
    i=$((i + 1))
done < "$work/cubes"
wait
end=$(date +%s.%N)

failed=0
for ((k = 0; k < i; k++)); do
    body=$(cat "$work/body.$k" 2> /dev/null)
    # The body between the frame lines must be a maneuver: face letters, powers and blanks.
    inner=${body#*"$html_prefix"}
    inner=${inner%%$'\r\n</BODY>'*}
    if [[ "$body" != *"$html_prefix"* ]] || [[ ! "$inner" =~ ^[URFDLBEMSxyz2\'\ ]*$ ]]; then
        failed=$((failed + 1))
        echo "client $k failed: $(head -c 200 "$work/body.$k" 2> /dev/null | tr -d '\r' | tr '\n' ' ') $(cat "$work/err.$k" 2> /dev/null)"
    fi
done

echo "clients $i, failed $failed, wall time $(awk "BEGIN { printf \"%.2f\", $end - $start }") s"
[ "$failed" -eq 0 ]
