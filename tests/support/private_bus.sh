# Sourced by the session launchers. Writes the configuration of a private session bus into
# $1/bus.conf: listening at $2, and with $1/services (made empty) as its only service folder, so
# no service installed on the machine (the desktop portal, say) can be started on it.
write_private_bus_config() {
    mkdir "$1/services"
    cat >"$1/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>$2</listen>
  <servicedir>$1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
}
