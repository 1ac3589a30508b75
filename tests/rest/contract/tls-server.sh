#!/bin/sh
# An https server for the HTTP layer's tests: esbsim serve on a certificate
# for localhost and 127.0.0.1 that a test-made authority ("good") signed.
# Prints that authority, a line "@@", another authority ("other"), a line
# "@@", then the server's URL (or why there is none), and serves until the
# file STOP exists (ten minutes at most). Run as a native process, so that a
# test under Wine can start it.
# usage: tls-server.sh ESBSIM STOP
esbsim=$1
stop=$2
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
ec="-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
{
  for ca in good other; do
    openssl req -x509 $ec -keyout $ca.key -out $ca.pem -days 2 -subj /CN=$ca
  done
  printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' >ext.cnf
  openssl req $ec -keyout server.key -out server.csr -subj /CN=127.0.0.1
  openssl x509 -req -in server.csr -CA good.pem -CAkey good.key -CAcreateserial \
    -out server.pem -days 2 -extfile ext.cnf
  printf 'server\tsrv\nuser\tu\tpw\t275\napp\tSample\tloaded\n' >d.txt
  "$esbsim" load s.db d.txt
} >made 2>&1
"$esbsim" serve s.db --tls server.pem server.key >out 2>err &
pid=$!
i=0
while [ ! -s out ] && kill -0 $pid 2>/dev/null && [ $i -lt 1000 ]; do
  sleep 0.01
  i=$((i + 1))
done
cat good.pem 2>/dev/null
echo @@
cat other.pem 2>/dev/null
echo @@
if grep -q '^listening on ' out; then
  sed -n 's/^listening on //p' out | head -n 1
else
  echo "no server: $(cat made err | tr '\n' ' ')"
fi
i=0
# The test may remove the file's folder as soon as it has written the file.
folder=$(dirname "$stop")
while [ ! -e "$stop" ] && [ -d "$folder" ] && kill -0 $pid 2>/dev/null && [ $i -lt 6000 ]; do
  sleep 0.1
  i=$((i + 1))
done
kill $pid 2>/dev/null
wait $pid 2>/dev/null
exit 0
