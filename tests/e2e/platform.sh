# What differs between the platforms' consoles, for the end-to-end scripts.
# Expects $platform to be posix or windows.

# The final wait's text: the program's own on POSIX, with a line end once a key is pressed;
# the command processor's pause under Wine, with no line end at end of input.
final_wait_file=$(dirname "${BASH_SOURCE[0]}")/final_wait/$platform.txt
if [[ ! -f $final_wait_file ]]; then
  echo "unknown platform: $platform" >&2
  exit 2
fi
final_wait=$(cat "$final_wait_file"; printf x)
final_wait=${final_wait%x}

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
