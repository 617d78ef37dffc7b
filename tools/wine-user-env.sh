# Sourced by the VirtualStore check: Wine run as an unprivileged user, so
# that a folder root owns is as unwritable for the programs as Program Files
# is for a standard user on Windows (root ignores permission bits). Wine
# wants a prefix of the user's own: build/wineprefix-user, kept from run to
# run. `as_user COMMAND...` runs a command as that user in that prefix.
wine_user=dayledger-wine
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if ! id "$wine_user" >/dev/null 2>&1; then
  $sudo_cmd useradd --system --create-home --home-dir "/var/lib/$wine_user" "$wine_user"
fi
user_prefix="$(pwd)/build/wineprefix-user"
mkdir -p "$user_prefix"
$sudo_cmd chown "$wine_user" "$user_prefix"
as_user() {
  $sudo_cmd runuser -u "$wine_user" -- env HOME="/var/lib/$wine_user" WINEPREFIX="$user_prefix" \
    WINEDEBUG=-all LC_ALL=C.UTF-8 ${DISPLAY:+DISPLAY="$DISPLAY"} "$@"
}
if [ ! -f "$user_prefix/.dayledger-ready" ]; then
  as_user timeout 300 /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  as_user touch "$user_prefix/.dayledger-ready"
fi
# The user's own folders in the prefix, as the programs find them.
user_drive="$user_prefix/drive_c"
user_store="$user_drive/users/$wine_user/AppData/Local/VirtualStore"
