# The Wine settings of the project's Windows tests, to be sourced: a prefix of the project's
# own under build/, no debug output, and none of the parts of Wine that would write outside the
# prefix (menu entries in the home folder) or try to download (Mono, Gecko).
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
