#!/usr/bin/env bash
# Regenerates the game sounds and the twenty chatter sounds in resources/sounds/.
#
# Everything is made from nothing with sox (tones, chimes, noise shaped into claps, coughs,
# snores ...) and espeak-ng (the spoken clips), so the sounds are entirely our own work.
# The tools are only needed to regenerate the files, not to build the program:
#   apt-get install -y sox espeak-ng
#
# Every file comes out as RIFF WAVE, PCM, mono, 16-bit, 22050 Hz, trimmed of silence at both
# ends, faded in and out so it never starts or stops with a click, peak-normalised to -3 dBFS and
# held to at most -15 dBFS RMS, so that game sounds and chatter sounds play at about one loudness.
# sox runs in repeatable mode (-R),
# so the noise-based sounds come out the same on every run of the same sox version.
set -euo pipefail

for tool in sox espeak-ng; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "make-sounds.sh: '$tool' is missing; install it with: apt-get install -y sox espeak-ng" >&2
        exit 1
    fi
done

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/sounds"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=22050
# Pitch sweeps below are linear (freq:freq2): sox 14.4.2's exponential sweep (freq/freq2) turns
# square and sawtooth waves into a constant offset.
rms_cap_db=-15

# Intermediate pieces are kept at 32 bits so that mixing many quiet parts loses no detail.
syn() { # NAME EFFECTS... : make piece NAME from nothing
    local name=$1
    shift
    sox -R -n -r "$rate" -c 1 -b 32 "$work/$name.wav" "$@"
}

fx() { # NAME SOURCE EFFECTS... : piece NAME is SOURCE run through EFFECTS
    local name=$1 src=$2
    shift 2
    sox -R "$work/$src.wav" -b 32 "$work/$name.wav" "$@"
}

ring() { # NAME LENGTH DECAY SYNTH-ARGS... : a struck tone that dies away
    # fade l falls by about 100 dB over DECAY, so a DECAY well beyond LENGTH keeps the tone ringing.
    local name=$1 len=$2 decay=$3
    shift 3
    syn "$name" synth "$decay" "$@" fade l 0 "$decay" "$decay" trim 0 "$len"
}

mix() { # NAME PART[@DELAY][*VOLUME]... : lay the parts over one another, each from its own start
    local name=$1
    shift
    local inputs=() i=0 item src delay vol
    for item in "$@"; do
        src=${item%%[@*]*}
        delay=0
        vol=1
        if [[ $item == *@* ]]; then
            delay=${item#*@}
            delay=${delay%%\**}
        fi
        if [[ $item == *\** ]]; then
            vol=${item#*\*}
        fi
        sox -R "$work/$src.wav" -b 32 "$work/_mix$i.wav" pad "$delay" 0 vol "$vol"
        inputs+=("$work/_mix$i.wav")
        i=$((i + 1))
    done
    if ((${#inputs[@]} == 1)); then
        mv "${inputs[0]}" "$work/$name.wav"
    else
        sox -R -m "${inputs[@]}" -b 32 "$work/$name.wav"
    fi
    rm -f "$work"/_mix*.wav
}

say() { # NAME VOICE PITCH SPEED TEXT [SOX-EFFECTS...] : a spoken piece, its silences trimmed
    local name=$1 voice=$2 pitch=$3 speed=$4 text=$5
    shift 5
    espeak-ng -v "$voice" -p "$pitch" -s "$speed" -w "$work/_say.wav" "$text"
    # Headroom first: pitch bends overshoot the original peak.
    sox -R "$work/_say.wav" -b 32 "$work/$name.wav" gain -6 \
        silence 1 0.005 0.2% reverse silence 1 0.005 0.2% reverse
    rm -f "$work/_say.wav"
    # A separate pass, because bend needs to know the length of what it bends.
    if (($# > 0)); then
        fx "_$name" "$name" "$@"
        mv "$work/_$name.wav" "$work/$name.wav"
    fi
}

finish() { # NAME MAX-LENGTH FADE-IN FADE-OUT : write resources/sounds/NAME.wav
    local name=$1 max=$2 fadein=$3 fadeout=$4 cut=()
    # The high-pass removes any DC offset; the first norm makes the silence thresholds relative
    # to the sound's own peak (with headroom for the filter's overshoot).
    sox -R "$work/$name.wav" -b 32 "$work/_fin.wav" \
        norm -6 highpass 30 \
        silence 1 0.002 0.3% reverse silence 1 0.002 0.3% reverse
    # The fades come after the cut, so a sound cut short still ends smoothly.
    if awk -v len="$(soxi -D "$work/_fin.wav")" -v max="$max" 'BEGIN { exit !(len > max) }'; then
        cut=(trim 0 "$max")
    fi
    sox -R "$work/_fin.wav" -b 32 "$work/_norm.wav" \
        "${cut[@]}" fade q "$fadein" reverse fade q "$fadeout" reverse norm -3
    # Dense sounds (a horn, a buzz) sound far louder than speech at the same peak, so their
    # RMS level is capped to keep every sound at about one loudness.
    local trim_db
    trim_db=$(sox "$work/_norm.wav" -n stat 2>&1 | awk -v cap="$rms_cap_db" '
        /^RMS +amplitude/ { db = 20 * log($3) / log(10); printf "%.2f", (db > cap) ? cap - db : 0 }')
    sox -R "$work/_norm.wav" -r "$rate" -c 1 -b 16 -e signed-integer "$out/$name.wav" gain "$trim_db"
    rm -f "$work/_fin.wav" "$work/_norm.wav"
}

# ---------------------------------------------------------------- game sounds (at most 1 s)

# badword: a low, dull "bonk" whose pitch drops as it dies; the buzz gives it enough overtones
# to be heard on small speakers.
ring bonk_body 0.35 0.9 sine 300:140
ring bonk_buzz 0.30 0.6 square 150:90
fx bonk_buzz_soft bonk_buzz lowpass 1200
syn bonk_hit synth 0.025 brownnoise fade q 0.001 0.025 0.02
mix badword bonk_body bonk_buzz_soft*0.6 bonk_hit*0.5
finish badword 0.4 0.003 0.06

# clear: a soft swish of filtered noise that swells and fades.
syn swish_a synth 0.38 pinknoise sinc 1200-6500 fade h 0.16 0.38 0.2
syn swish_b synth 0.30 whitenoise sinc 3000-8000 fade h 0.12 0.30 0.16
mix clear swish_a swish_b@0.06*0.4
finish clear 0.5 0.02 0.08

# entered: a gentle two-note chime, a fourth apart, rising.
ring chime_1 0.55 1.8 sine G5
ring chime_1h 0.40 0.9 sine G6
ring chime_2 0.60 2.0 sine C6
ring chime_2h 0.40 0.9 sine C7
mix entered chime_1 chime_1h*0.25 chime_2@0.17 chime_2h@0.17*0.25
finish entered 0.8 0.004 0.1

# gameover: a short brassy fanfare falling G F D onto a held C major chord.
for note in G5 F5 D5; do
    syn "brass_$note" synth 0.16 sawtooth "$note" lowpass 2200 fade q 0.01 0.16 0.05
done
for note in C5 E5 G5 C4; do
    syn "brass_long_$note" synth 0.56 sawtooth "$note" lowpass 2000 fade q 0.015 0.56 0.3
done
mix gameover brass_G5 brass_F5@0.13 brass_D5@0.26 \
    brass_long_C5@0.39 brass_long_E5@0.39*0.8 brass_long_G5@0.39*0.8 brass_long_C4@0.39*0.7
finish gameover 1.0 0.008 0.12

# goodword: a bright rising arpeggio C E G C E.
for note in C6 E6 G6 C7 E7; do
    ring "arp_$note" 0.38 1.3 triangle "$note"
    ring "arp_sine_$note" 0.38 1.6 sine "$note"
    mix "arp_mix_$note" "arp_$note*0.6" "arp_sine_$note"
done
mix goodword arp_mix_C6 arp_mix_E6@0.065 arp_mix_G6@0.13 arp_mix_C7@0.195 arp_mix_E7@0.26*0.8
finish goodword 0.7 0.003 0.1

# place: a short wooden tap: two damped resonances and a tiny burst of noise for the contact.
ring tap_low 0.09 0.25 sine 420
ring tap_high 0.05 0.12 sine 1350
syn tap_hit synth 0.012 whitenoise bandpass 2500 1q fade q 0.0005 0.012 0.01
mix place tap_low tap_high*0.5 tap_hit*0.35
finish place 0.12 0.001 0.02

# roundover: a quick whoosh that lands on a ding.
syn whoosh synth 0.26 pinknoise sinc 800-5000 fade h 0.18 0.26 0.08
ring ding 0.5 1.8 sine G6
ring ding_h 0.3 0.8 sine G7
mix roundover whoosh ding@0.2 ding_h@0.2*0.2
finish roundover 0.75 0.01 0.1

# start: a clear bell: a fundamental with the higher, quicker-dying partials of a small bell.
ring bell_1 0.9 2.6 sine B5
ring bell_2 0.9 1.4 sine 1975.5
ring bell_3 0.6 0.8 sine 2726
ring bell_4 0.4 0.5 sine 4200
mix start bell_1 bell_2*0.45 bell_3*0.25 bell_4*0.12
finish start 0.9 0.002 0.12

# tick: a very short, dry tick.
ring tick_tone 0.035 0.09 sine 2600
syn tick_hit synth 0.006 whitenoise highpass 3000 fade q 0.0005 0.006 0.005
mix tick tick_tone tick_hit*0.4
finish tick 0.04 0.0005 0.01

# ------------------------------------------------------------- chatter sounds (at most 2 s)

# 1 "Doh"
say doh en+m3 30 120 "D'oh!" bend 0.05,-200,0.3
mix wave1 doh
finish wave1 1.2 0.005 0.08

# 2 "Cough": bursts of throaty noise with a hint of voice, each with a hard start.
cough_burst() { # NAME LENGTH DECAY PITCH
    local shape=(fade l 0.008 "$3" "$3" trim 0 "$2")
    syn "$1_noise" synth "$3" whitenoise bandpass 1100 0.7q lowpass 3500 "${shape[@]}"
    syn "$1_voice" synth "$3" sawtooth "$4" lowpass 900 "${shape[@]}"
    syn "$1_rumble" synth "$3" brownnoise "${shape[@]}"
    mix "$1" "$1_noise" "$1_voice*0.25" "$1_rumble*0.6"
}
cough_burst cough_1 0.32 0.9 150
cough_burst cough_2 0.28 0.8 140
cough_burst cough_3 0.22 0.6 130
mix wave2 cough_1 cough_2@0.36*0.9 cough_3@0.68*0.6
finish wave2 1.2 0.004 0.08

# 3 "Hello"
say hello en+f2 60 150 "Hello!"
mix wave3 hello
finish wave3 1.5 0.005 0.08

# 4 "Thank You"
say thanks en+m1 50 145 "Thank you!"
mix wave4 thanks
finish wave4 1.5 0.005 0.08

# 5 "Where have you been?"
say where en+m3 55 165 "Where have you been?"
mix wave5 where
finish wave5 2.0 0.005 0.08

# 6 "Snoring": a rattling in-breath (noise fluttered by the soft palate), then a soft out-breath.
syn snore_rattle synth 1.0 brownnoise lowpass 1200 tremolo 27 95 fade h 0.35 1.0 0.35
syn snore_voice synth 1.0 sawtooth 90 gain -6 lowpass 1000 tremolo 27 90 fade h 0.35 1.0 0.35
syn snore_breath synth 0.6 pinknoise sinc 500-2500 fade h 0.2 0.6 0.4
mix wave6 snore_rattle snore_voice*0.6 snore_breath@1.1*0.25
finish wave6 1.8 0.02 0.12

# 7 "Sneezing": two rising catches of breath, then the "choo" and its spray of noise.
say sneeze_a1 en+m3 50 130 "ah"
say sneeze_a2 en+m3 70 150 "ah"
say sneeze_choo en+m3 65 210 "choo!"
syn sneeze_spray synth 0.35 whitenoise gain -6 highpass 2200 fade l 0.004 0.35 0.35
mix wave7 sneeze_a1*0.6 sneeze_a2@0.38*0.7 sneeze_choo@0.78 sneeze_spray@0.78*0.6
finish wave7 1.6 0.005 0.08

# 8 "Sorry"
say sorry en+f3 45 125 "Sorry!"
mix wave8 sorry
finish wave8 1.5 0.005 0.08

# 9 "Welcome"
say welcome en+m1 55 145 "Welcome!"
mix wave9 welcome
finish wave9 1.5 0.005 0.08

# 10 "Yeehaa": the "haa" swoops up.
say yeehaa en+m3 70 150 "Yee haaa!" bend 0.3,400,0.25
mix wave10 yeehaa
finish wave10 1.5 0.005 0.1

# 11 "Yippee"
say yippee en+f4 85 175 "Yippee!" bend 0.2,300,0.2
mix wave11 yippee
finish wave11 1.5 0.005 0.1

# 12 "Oh No": slow and sinking.
say ohno en+m2 45 105 "Oh no!" bend 0.3,-300,0.5
mix wave12 ohno
finish wave12 1.6 0.005 0.1

# 13 "Applause": fourteen people clapping, each at their own pace, pitch and strength, with a
# little unsteadiness in every clap; compressed so the crowd sounds full rather than a patter.
RANDOM=13
claps=()
for ((person = 0; person < 14; person++)); do
    ring "clap_$person" 0.06 0.16 whitenoise bandpass $((800 + RANDOM % 1800)) 0.9q
    period=$((170 + RANDOM % 90))
    for ((ms = RANDOM % period; ms < 1650; ms += period - 20 + RANDOM % 40)); do
        claps+=("clap_$person@$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))*0.$((4 + RANDOM % 6))")
    done
done
mix applause_raw "${claps[@]}"
fx wave13 applause_raw norm -10 compand 0.002,0.08 -40,-24,-20,-11,0,-6 0 -20 0.002 \
    fade h 0.08 reverse fade h 0.5 reverse
finish wave13 1.8 0.03 0.2

# 14 "Honk": two blasts of a horn, two detuned buzzy tones a third apart.
honk_blast() { # NAME LENGTH
    syn "$1_lo" synth "$2" square 349 lowpass 2500
    syn "$1_lo2" synth "$2" sawtooth 352 lowpass 2500
    syn "$1_hi" synth "$2" square 440 lowpass 2500
    mix "$1_raw" "$1_lo" "$1_lo2*0.6" "$1_hi*0.8"
    fx "$1" "$1_raw" overdrive 8 fade q 0.015 "$2" 0.04
}
honk_blast honk_1 0.22
honk_blast honk_2 0.40
mix wave14 honk_1 honk_2@0.32
finish wave14 0.9 0.01 0.05

# 15 "Oooh": a small crowd, impressed, the pitch rising then falling.
say ooh_1 en+m3 35 110 "Ooh!" tempo 0.6
say ooh_2 en+f3 60 110 "Ooh!" tempo 0.6
say ooh_3 en+m1 45 110 "Ooh!" tempo 0.6
say ooh_4 en+f2 70 110 "Ooh!" tempo 0.6
fx ooh_1b ooh_1 bend 0,300,0.25 0,-500,0.3
fx ooh_2b ooh_2 bend 0,300,0.25 0,-500,0.35
fx ooh_3b ooh_3 bend 0,250,0.2 0,-450,0.4
fx ooh_4b ooh_4 bend 0,350,0.3 0,-500,0.4
mix wave15 ooh_1b ooh_2b@0.04 ooh_3b@0.08*0.8 ooh_4b@0.03*0.8
finish wave15 1.5 0.02 0.15

# 16 "Razzberry": a flapping buzz of lips and breath, sinking at the end.
syn razz_buzz synth 0.9 sawtooth 95:70 tremolo 31 100 lowpass 1800
syn razz_breath synth 0.9 pinknoise tremolo 31 100 sinc 300-3000
mix razz_raw razz_buzz razz_breath*0.6
fx wave16 razz_raw overdrive 12 fade q 0.03 0.9 0.2
finish wave16 1.0 0.02 0.1

# 17 "Cheer": several voices shouting over clapping.
say cheer_1 en+m3 45 170 "Hooray!"
say cheer_2 en+f3 75 170 "Yay!"
say cheer_3 en+m1 55 160 "Woo hoo!"
say cheer_4 en+f2 80 180 "Hooray!"
fx cheer_claps applause_raw norm -3 trim 0.2 fade h 0.05 reverse fade h 0.4 reverse
mix wave17 cheer_1 cheer_2@0.06 cheer_3@0.12*0.8 cheer_4@0.2*0.8 cheer_claps*0.5
finish wave17 1.8 0.02 0.2

# 18 "Woman Laughing"
say laugh_woman en+f3 85 210 "ha ha ha ha ha!" bend 0,200,0.3 0.3,-300,0.35
mix wave18 laugh_woman
finish wave18 1.8 0.01 0.12

# 19 "Man Laughing"
say laugh_man en+m3 20 190 "ha ha ha ha!" bend 0.4,-200,0.35
mix wave19 laugh_man
finish wave19 1.8 0.01 0.12

# 20 "Crying": a wailing "waah" and sobs, shaken by a sobbing tremolo.
say crying en+f4 80 150 "Waaah! boo hoo hoo" bend 0,400,0.3 0.3,-400,0.5 tremolo 7 45
mix wave20 crying
finish wave20 2.0 0.02 0.2

echo "make-sounds.sh: wrote $(find "$out" -maxdepth 1 -name '*.wav' | wc -l) sounds to $out"
