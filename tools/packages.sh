# Debian 12 packages the project needs, and an installer that only installs what is missing.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libsdl2-mixer-dev libgl-dev libxcb1-dev)
RUN_PACKAGES=(libqt6widgets6 libqt6gui6 qt6-qpa-plugins qt6-wayland libsdl2-mixer-2.0-0
              fonts-noto-cjk fonts-wqy-microhei fonts-arphic-uming fonts-arphic-ukai xdg-utils)
TEST_PACKAGES=(xvfb openbox xdotool xclip x11-utils xcompmgr imagemagick weston qt6-wayland
               fonts-noto-cjk fonts-wqy-microhei fonts-arphic-uming fonts-arphic-ukai)

install_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
