#!/bin/bash
# The wallpaper on a display with no desktop: `vistrel --wallpaper` centres and
# tiles a picture on the X root window's background, exactly, and it stays after
# the program ends; restore brings back the background from before, a plain
# colour as a colour and a picture as that picture. Refused words, a desktop
# whose wallpaper we cannot set and a display that cannot be reached give their
# exit statuses.
# Usage: test_wallpaper.sh /path/to/vistrel

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_time_limit 120

VISTREL=${1:-}
[[ -x $VISTREL ]] || fail "usage: $0 /path/to/vistrel"
W=$E2E_TMP
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION # no desktop: the root window takes it

e2e_start_xvfb 800x600x24
e2e_start_openbox
e2e_make_home

root_shot() { import -window root "$W/$1.png"; }
# A picture whose every pixel differs from its neighbours', 96 x 70: neither
# side divides the screen's.
convert -size 96x70 gradient:red-blue \( -size 96x70 gradient:'#00ff00'-'#000000' -rotate 90 -resize 96x70\! \) \
    -compose plus -composite -fill yellow -draw 'rectangle 0,0 9,4' -depth 8 "$W/pic one.png"
PIC="$W/pic one.png"
root_pixmap() { xprop -root _XROOTPMAP_ID 2>/dev/null; }

check "a plain colour set before"
xsetroot -solid '#123456'
root_shot before
[[ $(pixel "$W/before.png" 400 300) == 18,52,86 ]] || fail "xsetroot did not colour the root ($(pixel "$W/before.png" 400 300))"

check "center puts the picture in the middle of a black screen"
"$VISTREL" --wallpaper "$PIC" center || fail "--wallpaper center failed ($?)"
root_shot centered
convert -size 800x600 xc:black "$PIC" -geometry +352+265 -composite "$W/expected-center.png"
same_picture "$W/centered.png" "$W/expected-center.png" ||
    fail "the root differs from the centred picture in $(differing_pixels "$W/centered.png" "$W/expected-center.png") pixels"
[[ $(root_pixmap) == *"# 0x"* ]] || fail "_XROOTPMAP_ID is not published: $(root_pixmap)"
grep -q 'WallpaperStyle=sz:0' "$VISTREL_HOME/registry.ini" || fail "no WallpaperStyle 0 in registry.ini"

check "tile repeats the picture from the top-left corner"
"$VISTREL" --wallpaper "$PIC" tile || fail "--wallpaper tile failed ($?)"
sleep 0.2
root_shot tiled
convert -size 800x600 tile:"$PIC" "$W/expected-tile.png"
same_picture "$W/tiled.png" "$W/expected-tile.png" ||
    fail "the root differs from the tiled picture in $(differing_pixels "$W/tiled.png" "$W/expected-tile.png") pixels"
grep -q 'TileWallpaper=sz:1' "$VISTREL_HOME/registry.ini" || fail "no TileWallpaper 1 in registry.ini"

check "stretch fills the screen"
"$VISTREL" --wallpaper "$PIC" stretch || fail "--wallpaper stretch failed ($?)"
root_shot stretched
[[ $(pixel "$W/stretched.png" 2 2) == 255,255,0 ]] || fail "the stretched corner is $(pixel "$W/stretched.png" 2 2), not yellow"
[[ $(pixel "$W/stretched.png" 799 599) == $(pixel "$PIC" 95 69) ]] || fail "the stretched far corner is not the picture's"

check "restore brings back the plain colour"
"$VISTREL" --wallpaper restore || fail "--wallpaper restore failed ($?)"
root_shot restored
same_picture "$W/restored.png" "$W/before.png" ||
    fail "the restored root differs from before in $(differing_pixels "$W/restored.png" "$W/before.png") pixels"
[[ $(root_pixmap) != *"# 0x"* ]] || fail "_XROOTPMAP_ID is still there after restoring a plain colour"
grep -q 'TileWallpaper' "$VISTREL_HOME/registry.ini" || fail "the style values went with the restore"

check "a picture set before comes back as that picture"
convert -size 800x600 gradient:white-green -fill red -draw 'circle 400,300 450,300' -depth 8 "$W/backdrop.png"
show_picture "$W/backdrop.png"
root_shot before2
"$VISTREL" --wallpaper "$PIC" center || fail "--wallpaper center failed ($?)"
root_shot over
! same_picture "$W/over.png" "$W/before2.png" || fail "the wallpaper did not change"
"$VISTREL" --wallpaper restore || fail "--wallpaper restore failed ($?)"
root_shot restored2
same_picture "$W/restored2.png" "$W/before2.png" ||
    fail "the restored picture differs in $(differing_pixels "$W/restored2.png" "$W/before2.png") pixels"

check "on GNOME the desktop's settings take the picture, and get their own values back"
# A stand-in for gsettings: one file per key under $W/gs.
mkdir -p "$W/gs" "$W/bin"
cat >"$W/bin/gsettings" <<SCRIPT
#!/bin/sh
f="$W/gs/\$2.\$3"
case "\$1" in
get) [ -f "\$f" ] && cat "\$f" ;;
set) printf '%s\n' "\$4" >"\$f" ;;
*) exit 1 ;;
esac
SCRIPT
chmod +x "$W/bin/gsettings"
printf "%s\n" "'file:///usr/share/old.jpg'" >"$W/gs/org.gnome.desktop.background.picture-uri"
printf "%s\n" "'file:///usr/share/old-dark.jpg'" >"$W/gs/org.gnome.desktop.background.picture-uri-dark"
printf "%s\n" "'zoom'" >"$W/gs/org.gnome.desktop.background.picture-options"
cp -r "$W/gs" "$W/gs-before"
root_shot before-gnome
PATH="$W/bin:$PATH" XDG_CURRENT_DESKTOP=ubuntu:GNOME "$VISTREL" --wallpaper "$PIC" tile || fail "--wallpaper on GNOME failed ($?)"
uri="'file://${PIC// /%20}'"
[[ $(cat "$W/gs/org.gnome.desktop.background.picture-uri") == "$uri" ]] ||
    fail "picture-uri is $(cat "$W/gs/org.gnome.desktop.background.picture-uri"), not $uri"
[[ $(cat "$W/gs/org.gnome.desktop.background.picture-uri-dark") == "$uri" ]] || fail "picture-uri-dark was not set"
[[ $(cat "$W/gs/org.gnome.desktop.background.picture-options") == "'wallpaper'" ]] || fail "picture-options is not 'wallpaper'"
root_shot during-gnome
same_picture "$W/during-gnome.png" "$W/before-gnome.png" || fail "the root changed although the desktop took the picture"
PATH="$W/bin:$PATH" XDG_CURRENT_DESKTOP=ubuntu:GNOME "$VISTREL" --wallpaper restore || fail "restore on GNOME failed ($?)"
diff -r "$W/gs-before" "$W/gs" >/dev/null || fail "the desktop's values did not come back: $(cat "$W"/gs/*)"

check "a desktop that refuses part of the change gets its own values back, and the root takes the picture"
# This gsettings takes the picture but refuses the style.
sed -i 's/^set) /set) [ "\$3" = picture-options ] \&\& exit 1; /' "$W/bin/gsettings"
PATH="$W/bin:$PATH" XDG_CURRENT_DESKTOP=GNOME "$VISTREL" --wallpaper "$PIC" center || fail "--wallpaper failed ($?)"
diff -r "$W/gs-before" "$W/gs" >/dev/null || fail "the desktop kept half a change: $(cat "$W"/gs/*)"
root_shot root-instead
same_picture "$W/root-instead.png" "$W/expected-center.png" || fail "the root did not take the picture"
PATH="$W/bin:$PATH" XDG_CURRENT_DESKTOP=GNOME "$VISTREL" --wallpaper restore || fail "restore failed ($?)"
root_shot before2 # the root's own background again, for the checks below
same_picture "$W/before2.png" "$W/before-gnome.png" || fail "the root's background did not come back"

check "refused words exit with 2, an unreachable display with 1"
status=0; "$VISTREL" --wallpaper "$PIC" sideways 2>"$W/err" || status=$?
[[ $status == 2 ]] || fail "a bad style gave $status"
grep -q "sideways" "$W/err" || fail "the refusal does not name the style: $(cat "$W/err")"
status=0; "$VISTREL" --wallpaper "$PIC" 2>/dev/null || status=$?
[[ $status == 2 ]] || fail "a missing style gave $status"
echo notes >"$W/notes.txt"
status=0; "$VISTREL" --wallpaper "$W/notes.txt" center 2>/dev/null || status=$?
[[ $status == 2 ]] || fail "a file that is not a picture gave $status"
status=0; "$VISTREL" --wallpaper "$W/missing.png" center 2>/dev/null || status=$?
[[ $status == 1 ]] || fail "a missing picture gave $status"
status=0; XDG_CURRENT_DESKTOP=KDE "$VISTREL" --wallpaper "$PIC" center 2>"$W/err" || status=$?
[[ $status == 1 ]] || fail "KDE, whose wallpaper we cannot set, gave $status"
grep -q "KDE" "$W/err" || fail "the KDE refusal does not say why: $(cat "$W/err")"
status=0; DISPLAY=:999 "$VISTREL" --wallpaper "$PIC" center 2>"$W/err" || status=$?
[[ $status == 1 ]] || fail "no display gave $status"
[[ -s $W/err ]] || fail "no message without a display"
root_shot untouched
same_picture "$W/untouched.png" "$W/before2.png" || fail "a refused command changed the root"
echo PASS
