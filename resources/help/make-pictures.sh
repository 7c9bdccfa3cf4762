#!/bin/bash
# Regenerates the help page's pictures (HTML resources 22101 to 22118) from the
# interface artwork, two frames of a generated sample card and drawn diagrams.
#   resources/help/make-pictures.sh <folder with orvelle and orvelle-sample-card>
# 22103 (the folder dialog) is a capture of the viewer's own dialog under Wine
# and is kept as it is. Needs ImageMagick (/usr/bin/convert) and the IPA fonts.
set -euo pipefail
tools=${1:?folder of the native tools orvelle and orvelle-sample-card}
here=$(cd "$(dirname "$0")" && pwd)
images=$here/../images
preview=$here/../artwork/preview
convert=/usr/bin/convert
font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tools/orvelle-sample-card" "$work/card" >/dev/null
"$tools/orvelle" frame "$work/card/EVENT/EV000001/Video.dvt" 150 "$work/event.png"
"$tools/orvelle" frame "$work/card/ONESHOT/Pic00003.dpc" 0 "$work/oneshot.png"

# The mock-ups show a blank picture area; put real frames in, letterboxed as
# the viewer draws them (640 x 480 in the 640 x 485 area of the event layout).
$convert "$preview/window.png" "$work/event.png" -geometry +21+2 -composite "$work/window.png"
$convert "$preview/window-one-shot.png" \( "$work/oneshot.png" -resize 560x420 \) -geometry +61+52 -composite \
  "$work/window-one-shot.png"

# Numbered markers: a red disc with a white digit at each (x, y).
add_markers() {  # input output x y number [x y number ...]
  local input=$1 output=$2; shift 2
  local arguments=(-font "$font")
  while [ $# -ge 3 ]; do
    arguments+=(-fill "#d03030" -stroke white -strokewidth 2 -draw "circle $1,$2 $(($1 + 13)),$2"
                -stroke none -fill white -pointsize 18 -annotate "+$(($1 - 5))+$(($2 + 7))" "$3")
    shift 3
  done
  $convert "$input" "${arguments[@]}" "$output"
}
add_markers "$work/window.png" "$here/22101-window.png" 330 160 1 676 18 2 676 440 3 620 537 4 40 595 5
add_markers "$work/window-one-shot.png" "$here/22102-window-one-shot.png" 90 30 1 620 517 4 700 572 6

# Panels cut from the window (the layout of an 870 x 640 client area).
$convert "$work/window.png" -crop 209x180+661+0 +repage "$here/22104-information-panel.png"
$convert "$work/window.png" -crop 870x65+0+485 +repage "$here/22105-console-panel.png"
$convert "$work/window.png" -crop 209x140+661+345 +repage "$here/22106-configuration-panel.png"
$convert "$work/window.png" -crop 870x90+0+550 +repage "$here/22107-chart.png"
$convert "$work/window-one-shot.png" -crop 870x90+0+550 +repage "$here/22108-thumbnail-strip.png"

# Buttons, as the viewer draws them.
cp "$images/10015-play.png" "$here/22109-play.png"
cp "$images/10034-pause.png" "$here/22110-pause.png"
cp "$images/10018-stop.png" "$here/22111-stop.png"
$convert "$images/10009-previous-recording.png" "$images/10012-next-recording.png" -background "#1b2330" \
  -splice 4x0 +append "$here/22112-previous-next.png"
$convert "$images/10003-frame-back.png" "$images/10006-frame-forward.png" -background "#1b2330" \
  -splice 4x0 +append "$here/22113-frame-back-forward.png"
cp "$images/10021-open-folder.png" "$here/22114-open-folder.png"
$convert "$images/288-kind-auto.png" "$images/286-kind-manual.png" "$images/287-kind-none.png" \
  "$images/430-kind-one-shot.png" "$images/429-kind-video.png" -background white -splice 0x6 -append \
  "$here/22115-kinds.png"

# Diagrams.
text_picture() {  # width height output, then lines on stdin
  local w=$1 h=$2 out=$3
  $convert -size "${w}x${h}" xc:white -font "$font" -pointsize 15 -fill "#1b2330" \
    -annotate +16+28 "$(cat)" "$out"
}
text_picture 520 230 "$here/22116-card-folders.png" <<'TREE'
SDメモリーカード（例: E:\\）
├─ EVENT ………………… イベントメモリー
│   ├─ EV000001 ……… Video.dvt（1件の記録）
│   └─ EV000002 ……… Video.dvt
├─ VIDEO ………………… ビデオメモリー
│        Video0001.dmv, Video0002.dmv …（1分ごと）
├─ ONESHOT ……………… ワンショットメモリー
│        Pic00001.dpc, Pic00002.dpc …（1枚ずつ）
├─ TAVR.INI ……………… 本体設定ファイル
└─ FIRMINFO.DAT ……… 本体の情報
TREE

menu_column() {  # output, title, then items ("-" for a separator line)
  local out=$1 title=$2; shift 2
  local arguments=(-font "$font" -pointsize 15 -fill "#1b2330" -annotate +10+24 "$title"
                   -fill "#2a7fc1" -draw "rectangle 0,0 249,33" -fill white -annotate +10+24 "$title")
  local y=58
  for item in "$@"; do
    if [ "$item" = - ]; then
      arguments+=(-stroke "#9aa4b2" -draw "line 24,$((y - 10)) 226,$((y - 10))" -stroke none)
      y=$((y + 8))
    else
      arguments+=(-fill "#1b2330" -annotate "+24+$y" "$item")
      y=$((y + 24))
    fi
  done
  $convert -size 250x130 xc:"#f4f4f4" "${arguments[@]}" -fill none -stroke "#9aa4b2" -draw "rectangle 0,0 249,129" \
    "$out"
}
menu_column "$work/m1.png" "ファイル(F)" "開く(O)..." - "終了(X)"
menu_column "$work/m2.png" "設定(S)" "本体設定(S)..." "日時設定(C)..." "SDメモリーカード復元(R)..."
menu_column "$work/m3.png" "ヘルプ(H)" "ヘルプ(H)..." - "バージョン情報(A)..."
$convert "$work/m1.png" "$work/m2.png" "$work/m3.png" -background white -splice 10x0 +append \
  "$here/22117-menus.png"

step_box() {  # output, text
  $convert -size 230x70 xc:"#e8f2fb" -font "$font" -pointsize 14 -fill "#1b2330" -gravity center \
    -annotate +0+0 "$2" -fill none -stroke "#2a7fc1" -strokewidth 2 -draw "rectangle 1,1 228,68" "$1"
}
step_box "$work/s1.png" $'1. 設定メニューの\nSDメモリーカード復元(R)...'
step_box "$work/s2.png" $'2. 復元するカードの\nドライブを選ぶ'
step_box "$work/s3.png" $'3.「よろしいですか？」\nOKで始める'
step_box "$work/s4.png" $'4. 以前の設定を残す？\nはい: 残す / いいえ: 標準'
step_box "$work/s5.png" $'5. 本体のプログラムと\nビューアーを書き込む'
step_box "$work/s6.png" $'6. 「SDメモリーカードを\n復元しました。」'
$convert -size 24x70 xc:white -fill "#2a7fc1" -draw "polygon 4,25 16,35 4,45" "$work/arrow.png"
$convert "$work/s1.png" "$work/arrow.png" "$work/s2.png" "$work/arrow.png" "$work/s3.png" +append "$work/row1.png"
$convert "$work/s4.png" "$work/arrow.png" "$work/s5.png" "$work/arrow.png" "$work/s6.png" +append "$work/row2.png"
$convert "$work/row1.png" "$work/row2.png" -background white -splice 0x16 -append "$here/22118-card-restore.png"

# Small files: the pictures travel inside the executable.
for picture in "$here"/221*.png; do
  case $(basename "$picture") in 22103-*) continue ;; esac
  $convert "$picture" -strip -depth 8 -define png:compression-level=9 "$picture"
done
