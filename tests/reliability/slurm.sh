#!/usr/bin/env bash
# The Slurm job array of README's batch section on a real one-node Slurm cluster started here:
# munged, slurmctld and slurmd from Debian's packages, with their configuration, keys, sockets,
# state and logs in a temporary folder, ports that are free, and the node with this machine's
# cores. Three seeded runs go through tools/batch/sweep.slurm and through tools/batch/sweep.sh
# with GNU parallel, and each run's files must be the same byte for byte; so must the days of a
# long run through tools/batch/long-run.slurm and tools/batch/long-run.sh. Every daemon started
# here is stopped by its process id, also when the test fails.
#   slurm.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(realpath "$1") source=$(realpath "$2")
skip() { echo "SKIP: $*"; exit 77; }
die() { echo "FAIL: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "starting slurmctld and slurmd needs root"
grep -q '^ROADFLUX_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null &&
  skip "the batch scripts are tested with the normal build"
[ -x "$build/roadflux-cli" ] || die "$build/roadflux-cli is not built"
for tool in munged mungekey slurmctld slurmd sbatch squeue scancel scontrol parallel; do
  command -v "$tool" >/dev/null || skip "$tool is missing (tools/install-deps.sh installs slurmctld, slurmd and munge)"
done

work=$(mktemp -d)
chmod 700 "$work"
daemons=()
stop_daemons() {
  if [ -n "${SLURM_CONF:-}" ] && [ ${#daemons[@]} -gt 0 ]; then
    timeout 20 scancel --quiet --user=root >/dev/null 2>&1
    for _ in $(seq 20); do
      [ -z "$(timeout 10 squeue -h 2>/dev/null)" ] && break
      sleep 1
    done
  fi
  # Reverse order: slurmd, slurmctld, then munged, which both need to the end.
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do
    kill -TERM "${daemons[i]}" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "${daemons[i]}" 2>/dev/null || break
      sleep 0.2
    done
    kill -KILL "${daemons[i]}" 2>/dev/null
    wait "${daemons[i]}" 2>/dev/null
  done
  daemons=()
}
show_logs() {
  for log in "$work"/log/*.log; do
    [ -s "$log" ] && { echo "--- $log"; tail -n 30 "$log"; }
  done
}
trap 'stop_daemons; rm -rf "$work"' EXIT
cd "$work"
mkdir -p etc log state spool munge

port_is_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() {
  local port
  for _ in $(seq 100); do
    port=$((20000 + RANDOM % 40000))
    port_is_free "$port" && port_is_free "$((port + 1))" && { echo "$port"; return 0; }
  done
  return 1
}

# Munge: a key of this test's own, and a socket the Slurm daemons and commands are pointed at.
mungekey --create --keyfile="$work/munge/munge.key" >log/mungekey.log 2>&1 || { cat log/mungekey.log; die "mungekey failed"; }
munged --foreground --force --socket="$work/munge/socket" --key-file="$work/munge/munge.key" \
  --pid-file="$work/munge/munged.pid" --seed-file="$work/munge/seed" --log-file="$work/log/munged.log" \
  >>log/munged.log 2>&1 &
daemons+=($!)
for _ in $(seq 50); do [ -S munge/socket ] && break; sleep 0.2; done
[ -S munge/socket ] || { show_logs; die "munged did not open its socket"; }

# The node as slurmd sees this machine (its sockets, cores and threads), under a name of its own.
node_line=$(slurmd -C | head -n 1)
[[ $node_line == NodeName=* ]] || die "slurmd -C printed no node line: $node_line"
node_hardware=$(sed -E 's/^NodeName=[^ ]+ //; s/ RealMemory=[0-9]+//' <<<"$node_line")
controller_port=$(free_port) || die "no free port for slurmctld"
node_port=$((controller_port + 1))
host=$(hostname -s)
export SLURM_CONF="$work/etc/slurm.conf"
cat >"$SLURM_CONF" <<EOF
ClusterName=roadfluxtest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$controller_port
SlurmdPort=$node_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge/socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool/%n
SlurmctldPidFile=$work/state/slurmctld.pid
SlurmdPidFile=$work/spool/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
SwitchType=switch/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
SlurmdParameters=config_overrides
SlurmctldTimeout=30
SlurmdTimeout=60
InactiveLimit=0
KillWait=5
MinJobAge=300
NodeName=roadfluxnode NodeAddr=127.0.0.1 NodeHostname=$host $node_hardware RealMemory=1024 State=UNKNOWN
PartitionName=test Nodes=roadfluxnode Default=YES MaxTime=INFINITE State=UP
EOF

slurmctld -D -i -f "$SLURM_CONF" >>log/slurmctld.out 2>&1 &
daemons+=($!)
slurmd -D -N roadfluxnode -f "$SLURM_CONF" >>log/slurmd.out 2>&1 &
daemons+=($!)
for _ in $(seq 120); do
  state=$(timeout 10 scontrol show node roadfluxnode 2>/dev/null | sed -nE 's/.*State=([A-Z+_]+).*/\1/p')
  [[ $state == IDLE* ]] && break
  sleep 0.5
done
[[ ${state:-} == IDLE* ]] || { show_logs; die "the node did not become idle (state: ${state:-none})"; }

# A short traffic file keeps the runs quick.
head -n 300 "$source/examples/traffic.txt" >short.txt
printf '# name\tstudy\tseed\tinput\n' >jobs.tsv
for seed in 1 2 3; do
  printf 'seed%s\t%s\t%s\t%s\n' "$seed" "$source/examples/study.rfx" "$seed" "$work/short.txt" >>jobs.tsv
done
export ROADFLUX_CLI="$build/roadflux-cli"

# As README shows it: submitted from the source folder, whose tools/batch the tasks run.
(cd "$source" && timeout 300 sbatch --wait --array=1-3 --output="$work/log/task-%A_%a.log" \
  tools/batch/sweep.slurm "$work/jobs.tsv" "$work/slurm-runs") >log/sbatch.log 2>&1
status=$?
[ $status -eq 124 ] && { show_logs; die "the job array did not finish within 300 s"; }
[ $status -eq 0 ] || { cat log/sbatch.log; show_logs; die "the job array failed with status $status"; }

"$source/tools/batch/sweep.sh" jobs.tsv parallel-runs 2 >log/parallel.log 2>&1 ||
  { cat log/parallel.log; die "the GNU parallel sweep failed"; }

# The summary names the run's folder and the wall time; everything else must be equal.
summary() { grep -v '^Wall time:' "$1/summary.txt" | sed "s|$2|RUNS|g"; }
for seed in 1 2 3; do
  slurm_run="slurm-runs/seed$seed" parallel_run="parallel-runs/seed$seed"
  [ -f "$slurm_run/summary.txt" ] || { show_logs; die "the Slurm task of seed$seed left no complete run"; }
  [ -s "$slurm_run/output.txt" ] || die "the Slurm task of seed$seed wrote no output traffic file"
  [ -n "$(ls "$slurm_run/metrics")" ] || die "the Slurm task of seed$seed wrote no measurement files"
  cmp "$slurm_run/output.txt" "$parallel_run/output.txt" || die "seed$seed: the output traffic files differ"
  diff -r "$slurm_run/metrics" "$parallel_run/metrics" >/dev/null || die "seed$seed: the measurement files differ"
  cmp "$slurm_run/log.txt" "$parallel_run/log.txt" || die "seed$seed: the run logs differ"
  diff <(summary "$slurm_run" "$work/slurm-runs") <(summary "$parallel_run" "$work/parallel-runs") ||
    die "seed$seed: the summaries differ"
done
cmp -s slurm-runs/seed1/output.txt slurm-runs/seed2/output.txt && die "seeds 1 and 2 gave the same output"

# Three days of a long run, two a task, against the same days in one job on GNU parallel.
cp "$source/examples/study.rfx" "$source/examples/Roadflux.ini" .
cp "$source/examples/bridges-example.csv" study.bridges
long_args=(--study "$work/study.rfx" --config "$work/Roadflux.ini" --flow 20 --days 3)
(cd "$source" && timeout 300 sbatch --wait --array=1-2 --output="$work/log/long-%A_%a.log" \
  tools/batch/long-run.slurm "${long_args[@]}" --days-per-job 2 "$work/slurm-days") >log/sbatch-long.log 2>&1 ||
  { cat log/sbatch-long.log; show_logs; die "the long run's job array failed"; }
"$source/tools/batch/long-run.sh" -j 1 "${long_args[@]}" --days-per-job 3 parallel-days >log/long.log 2>&1 ||
  { cat log/long.log; die "the long run on GNU parallel failed"; }
for day in day-00000 day-00001 day-00002; do
  [ -f "slurm-days/$day/.roadflux-run" ] && [ -f "slurm-days/$day/summary.txt" ] ||
    { show_logs; die "the long run's Slurm tasks left $day incomplete"; }
  diff -r "slurm-days/$day/metrics" "parallel-days/$day/metrics" >/dev/null || die "$day: the measurement files differ"
done
echo "slurm ok: $node_hardware"
