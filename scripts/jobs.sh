# Sourced by build.sh and test.sh: JOBS, the number of parallel jobs, a whole number from 1 up;
# the number of processors when unset.
JOBS="${JOBS:-$(nproc)}"
if ! [[ "$JOBS" =~ ^[1-9][0-9]*$ ]]; then
  echo "JOBS=\"$JOBS\" is not a number of jobs (a whole number from 1 up)" >&2
  exit 1
fi
export JOBS
