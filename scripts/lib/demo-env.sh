# Sourced by scripts/demo and scripts/screenshots: a demo distributor database, a running Tally
# simulator and a Config.txt for them, in a temporary folder removed on exit.
# Needs: $gen (dms-demo) and $sim (tally-sim). Sets: $work, $port, $sim_pid.

work=$(mktemp -d)
sim_pid=""
demo_env_cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap demo_env_cleanup EXIT

demo_env_start() {
  echo "== Generating the demo distributor database"
  "$gen" --out "$work/dms-demo.db"

  echo "== Starting the Tally simulator"
  "$sim" --port 0 --company "Zentrail Demo Traders" "$@" >"$work/sim.log" 2>&1 &
  sim_pid=$!
  port=""
  for _ in $(seq 1 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/sim.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || { echo "tally-sim did not start"; cat "$work/sim.log"; exit 1; }
  echo "tally-sim listens on port $port"

  cat >"$work/Config.txt" <<CFG
SERVER:127.0.0.1
PORT:$port
COMPANY:Zentrail Demo Traders
SQL_ODBC:$work/dms-demo.db
LEDGER_ID:YES
CFG
}
