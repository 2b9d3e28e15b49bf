# Sourced by the scripts that check what they built. `check WHAT COMMAND...`
# runs COMMAND and prints "ok" or "FAILED" before WHAT, on failure with
# COMMAND's output indented below; $failures counts the failed checks.
failures=0
check() {
  local what=$1 out
  shift
  if out=$("$@" 2>&1); then
    echo "  ok       $what"
  else
    echo "  FAILED   $what"
    sed 's/^/           /' <<<"$out"
    failures=$((failures + 1))
  fi
}
