# The population controller over a run: frame rate and interval above, the
# limit and the live count below. Called with data= and out= set.
set terminal pngcairo size 1000,700 font "sans,10"
set output out
set multiplot layout 2,1 title "Lumenfall: population controller on Xvfb (Mesa llvmpipe), one sample a second"
set grid
set key top right
set xlabel "seconds since the timer started"
set ylabel "frames per second"
set y2label "frame interval (ms)"
set ytics nomirror
set y2tics
plot data using 1:2 with lines lw 2 title "sample frame rate", \
     30 with lines dt 2 lc rgb "black" title "target 30 fps", \
     data using 1:($3*1000) axes x1y2 with points pt 7 ps 0.3 title "last frame interval"
unset y2label
unset y2tics
set ytics mirror
set ylabel "flyers"
set yrange [0:210]
set key bottom right
plot data using 1:4 with lines lw 2 title "MaxFlyers", \
     data using 1:5 with lines lw 1 title "live flyers"
unset multiplot
