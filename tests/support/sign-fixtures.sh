#!/usr/bin/env bash
# Signs copies of one program with certificates made here: a test root, a
# code-signing certificate under it for "Acme Probe Works" and one for
# "Microsoft Corporation", and one without the code-signing usage. Writes
# signed.exe, signed_microsoft.exe, wrong_usage.exe, tampered.exe (signed.exe
# with one byte of its header changed) and unsigned.exe into the folder.
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
cd "$out"
rm -f ./*.exe

openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 3650 -sha256 \
  -subj "/CN=Tavrin Test Root" -addext "basicConstraints=critical,CA:TRUE" \
  -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null

leaf() {  # name, subject, extended usage
  openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA root.pem -CAkey root.key -CAcreateserial -out "$1.pem" -days 3650 \
    -sha256 -extfile "$1.ext" 2>/dev/null
}
leaf acme "Acme Probe Works" codeSigning
leaf microsoft "Microsoft Corporation" codeSigning
leaf server "Wrong Usage Works" serverAuth

sign() {  # certificate, output
  osslsigncode sign -certs "$1.pem" -key "$1.key" -ac root.pem -h sha256 -in "$program" -out "$2" >/dev/null
}
sign acme signed.exe
sign microsoft signed_microsoft.exe
sign server wrong_usage.exe
cp "$program" unsigned.exe

# One byte of the DOS stub's message: hashed, yet harmless to the program.
cp signed.exe tampered.exe
offset=$(grep -abo "cannot be run" tampered.exe | head -1 | cut -d: -f1)
printf 'C' | dd of=tampered.exe bs=1 seek="$offset" conv=notrunc status=none
