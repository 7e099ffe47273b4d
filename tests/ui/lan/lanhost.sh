#!/bin/sh
# One computer of the discovery test: its own network, a tmpfs on /run, its own system message
# bus and, now or when the program asks for it, its own Avahi daemon; then the program.
#   unshare --net --mount --pid --fork --kill-child sh lanhost.sh NAME ADDRESS/BITS INTERFACE now|later PROGRAM...
# As the first process of its PID namespace, this script takes the bus and the daemon with it
# when it ends (or is killed), so a test run leaves nothing behind.
set -eu
name=$1 address=$2 interface=$3 avahi=$4
shift 4

# Now in the new namespaces, this computer can be handed its end of the cable; the test says
# with one line when it has been.
echo unshared
read -r _
ip addr add "$address" dev "$interface"
ip link set "$interface" up

mount -t tmpfs plimb-run /run
mkdir -p /run/dbus /run/avahi-daemon
printf '%s\n' '<busconfig><type>system</type><listen>unix:path=/run/dbus/system_bus_socket</listen>
<auth>EXTERNAL</auth><policy context="default"><allow user="*"/><allow own="*"/><allow send_destination="*"/>
<allow receive_sender="*"/></policy></busconfig>' >/run/bus.conf
# Only the cable and only IPv4.
printf '[server]\nhost-name=%s\nuse-ipv6=no\nallow-interfaces=%s\n' "$name" "$interface" >/run/avahi.conf

# The bus prints its address once it listens.
mkfifo /run/bus.ready
dbus-daemon --config-file=/run/bus.conf --nofork --nopidfile --print-address=3 3>/run/bus.ready &
read -r _ </run/bus.ready

export PLIMB_START_AVAHI="avahi-daemon --daemonize --no-drop-root --no-chroot --no-rlimits --file=/run/avahi.conf"
if [ "$avahi" = now ]; then $PLIMB_START_AVAHI; fi
"$@"
