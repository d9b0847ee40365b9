#!/usr/bin/env bash
# Starts the print server (without a service manager) and makes a PDF queue
# the default printer, so the print test has a real printer to print on.
# Safe to run again: a running server and an existing queue are kept.
set -euo pipefail
queue="TesseraPDF"
out="/var/spool/cups-pdf/tessera"
export PATH="$PATH:/usr/sbin:/sbin"

if [ "$(id -u)" -ne 0 ]; then
  echo "cups-setup: needs root to start the print server" >&2
  exit 1
fi

running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }

# The PDF printer writes every job into one known folder.
mkdir -p "$out"
chmod 1777 "$out"
if ! grep -q "^Out $out\$" /etc/cups/cups-pdf.conf; then
  sed -i -e '/^Out /d' /etc/cups/cups-pdf.conf
  echo "Out $out" >> /etc/cups/cups-pdf.conf
fi
grep -q '^Label 1$' /etc/cups/cups-pdf.conf || echo 'Label 1' >> /etc/cups/cups-pdf.conf

if ! running; then
  cupsd
  for _ in $(seq 50); do running && break; sleep 0.2; done
  running || { echo "cups-setup: cupsd did not start" >&2; exit 1; }
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  lpadmin -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
fi
# The cairo renderer names every glyph after its character, so the text of
# the PDF that arrives can be read back.
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo
cupsenable "$queue"
cupsaccept "$queue"
lpadmin -d "$queue"
lpstat -d
