# Milliseconds per frame of the drawing pass against the number of flyers,
# with its two yardsticks, at both screen sizes. Called with data= and out=.
set terminal pngcairo size 900,600 font "sans,10"
set output out
set title "Lumenfall drawing pass (Mesa llvmpipe, offscreen), lower is better"
set xlabel "flyers"
set ylabel "ms per frame"
set logscale y
set yrange [0.5:*]
set grid
set key top left
set xtics (10, 50, 100, 150, 200)
plot data using ($1 == 1024 ? $3 : NaN):4 with linespoints lw 2 pt 7 lc 1 title "scene (display list), 1024x768", \
     data using ($1 == 1920 ? $3 : NaN):4 with linespoints lw 2 pt 5 lc 1 dt 2 title "scene (display list), 1920x1080", \
     data using ($1 == 1024 ? $3 : NaN):5 with linespoints lw 2 pt 7 lc 2 title "immediate mode, 1024x768", \
     data using ($1 == 1920 ? $3 : NaN):5 with linespoints lw 2 pt 5 lc 2 dt 2 title "immediate mode, 1920x1080", \
     data using ($1 == 1024 ? $3 : NaN):6 with linespoints lw 2 pt 7 lc 3 title "floor (indexed, one call), 1024x768", \
     data using ($1 == 1920 ? $3 : NaN):6 with linespoints lw 2 pt 5 lc 3 dt 2 title "floor (indexed, one call), 1920x1080"
