# What differs between the platforms' consoles, for the end-to-end scripts.
# Expects $platform to be posix or windows.

case $platform in
  posix)
    # The program's own wait, with a line end once the key has been pressed.
    final_wait=$'Press any key to continue . . . \n'
    ;;
  windows)
    # The command processor's pause under Wine, which ends without a line end at end of input.
    final_wait='Press any key to continue... '
    ;;
  *)
    echo "unknown platform: $platform" >&2
    exit 2
    ;;
esac

# Copies a program's standard output to a file with LF line ends; fails when its line ends
# are not the platform's own (LF on POSIX, CR LF from a Windows console program).
console_from_stdout() {
  local stdout=$1 console=$2
  if [[ $platform == windows ]]; then
    sed 's/\r$//' "$stdout" >"$console"
    ! grep -q $'\r' "$console" &&
      [[ $(tr -cd '\n' <"$stdout" | wc -c) -eq $(grep -c $'\r$' "$stdout") ]]
  else
    cp "$stdout" "$console"
    ! grep -q $'\r' "$console"
  fi
}
