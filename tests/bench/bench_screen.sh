# Sourced by the capture benchmarks (after tests/e2e/lib.sh, on a 1920x1080x24
# display): shows the screen they capture, half photo-like noise (plasma with
# fine noise), half flat user interface with a title bar, panels and lines of
# text, so that PNG encoders meet both kinds of picture.
# bench_show_screen WORKDIR
bench_show_screen() {
    local w=$1 y
    convert -size 960x1080 plasma:fractal -attenuate 0.4 +noise Gaussian "$w/photo.png"
    local ui=(-size 960x1080 xc:'#f0f0f0' -fill '#2b579a' -draw 'rectangle 0,0 960,40'
        -fill '#ffffff' -draw 'rectangle 20,60 940,1060' -fill '#dddddd' -draw 'rectangle 20,60 240,1060')
    for ((y = 80; y < 1040; y += 22)); do
        ui+=(-fill '#333333' -draw "text 260,$((y + 14)) 'Lorem ipsum dolor sit amet, consectetur adipiscing elit $y'")
        ui+=(-fill '#555555' -draw "text 30,$((y + 14)) 'Folder $y'")
    done
    convert "${ui[@]}" "$w/ui.png" 2>/dev/null || convert "${ui[@]:0:11}" "$w/ui.png"
    convert "$w/photo.png" "$w/ui.png" +append "$w/screen.png"
    show_picture "$w/screen.png"
}
