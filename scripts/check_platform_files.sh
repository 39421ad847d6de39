#!/usr/bin/env bash
# Checks that the operating system is reached only from files named by it
# (serial_port_termios.cpp, serial_port_win32.cpp, ...): no system header,
# and none of the POSIX calls that have no Windows twin, in any other file of
# src/ and cli/. Lists the offending lines and fails when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."

# The suffixes that name a system or its interface.
platform='_(linux|posix|termios|sysfs|eventfd|openssl|win32)\.(h|cpp)$'
headers='(unistd|fcntl|termios|poll|signal|pthread|sched|dirent|pwd|grp|pty|utmp|dlfcn|io|direct|windows|winsock2|ws2tcpip|shlobj|shellapi|bcrypt|timeapi|mmsystem)\.h|(sys|linux|openssl)/'
calls='\b(localtime_r|gmtime_r|isatty|mkdtemp|getpid|geteuid|setenv|unsetenv|ioctl)\s*\('

status=0
while IFS= read -r file; do
  if [[ "$file" =~ $platform ]]; then continue; fi
  if grep -nHE "^\s*#\s*include\s*<($headers)" "$file"; then status=1; fi
  if grep -nHE "$calls" "$file" | grep -vE ':\s*//'; then status=1; fi
done < <(git ls-files src cli | grep -E '\.(h|cpp)$')

if ((status)); then
  echo "check_platform_files: the lines above reach the operating system outside a file named by it" >&2
fi
exit $status
