#!/usr/bin/python3
"""The cost of sending many small files with the FTP and SFTP transfer tool.

Starts pyftpdlib (FTP) and OpenSSH's sshd (SFTP, needs root for its test
account) on 127.0.0.1, then drives each tool given through its line
protocol as the program does (one command, one answer): 1,000 files of
200 bytes into a new folder, then the same files again over the ones
there. Prints the median of three runs for each (LQ_BENCH_FILES,
LQ_BENCH_RUNS and LQ_BENCH_PROTOCOLS change what is measured).

    g++ -O2 -std=c++20 tools/ftptool/ftptool.cpp -lcurl -o /tmp/now/FTP
    ln -s FTP /tmp/now/SFTP
    bench/transfer-cost.py /tmp/before /tmp/now

Each argument is a folder holding a tool as "FTP" and "SFTP".
"""
import os, shutil, socket, statistics, subprocess, sys, tempfile, time

FILES, SIZE, RUNS = int(os.environ.get('LQ_BENCH_FILES', 1000)), 200, int(os.environ.get('LQ_BENCH_RUNS', 3))
PROTOCOLS = os.environ.get('LQ_BENCH_PROTOCOLS', 'FTP SFTP').split()
USER = 'lqsftptest'


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def wait_for(port):
    for _ in range(500):
        try:
            socket.create_connection(('127.0.0.1', port), 0.1).close()
            return
        except OSError:
            time.sleep(0.02)
    sys.exit('server on port %d did not start' % port)


def start_ftp(base):
    root = os.path.join(base, 'ftp')
    os.makedirs(root)
    port = free_port()
    script = os.path.join(base, 'ftpd.py')
    with open(script, 'w') as f:
        f.write('import sys\nfrom pyftpdlib.authorizers import DummyAuthorizer\n'
                'from pyftpdlib.handlers import FTPHandler\nfrom pyftpdlib.servers import FTPServer\n'
                'a = DummyAuthorizer()\na.add_user("tester", "secret", sys.argv[2], perm="elradfmwMT")\n'
                'FTPHandler.authorizer = a\n'
                'FTPServer(("127.0.0.1", int(sys.argv[1])), FTPHandler).serve_forever()\n')
    server = subprocess.Popen(['/usr/bin/python3', script, str(port), root],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(port)
    return server, port, 'tester'


def start_sftp(base):
    root = os.path.join(base, 'sftp')
    os.makedirs(root)
    if subprocess.run(['id', USER], capture_output=True).returncode != 0:
        subprocess.run(['useradd', '-M', '-d', root, '-s', '/bin/sh', USER], check=True)
    subprocess.run(['usermod', '-d', root, USER], check=True)
    subprocess.run(['chpasswd'], input=(USER + ':secret\n').encode(), check=True)
    shutil.chown(root, USER)
    os.makedirs('/run/sshd', exist_ok=True)
    key = os.path.join(base, 'host_key')
    subprocess.run(['ssh-keygen', '-q', '-t', 'ed25519', '-N', '', '-f', key], check=True)
    port = free_port()
    config = os.path.join(base, 'sshd_config')
    with open(config, 'w') as f:
        f.write('ListenAddress 127.0.0.1\nPort %d\nHostKey %s\nPidFile %s/sshd.pid\nStrictModes no\n'
                'PasswordAuthentication yes\nKbdInteractiveAuthentication no\nUsePAM no\nAllowUsers %s\n'
                'Subsystem sftp internal-sftp\nForceCommand internal-sftp -d %s\n' % (port, key, base, USER, root))
    server = subprocess.Popen(['/usr/sbin/sshd', '-D', '-e', '-f', config], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(port)
    return server, port, USER


def run(tool, port, user, folder, site, known_hosts):
    env = dict(os.environ, LUMENQUILL_KNOWN_HOSTS=known_hosts)
    process = subprocess.Popen([tool], cwd=site, env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def ask(line):
        process.stdin.write((line + '\n').encode())
        process.stdin.flush()
        while True:
            answer = process.stdout.readline().decode().strip()
            if answer.startswith('+OK') or answer.startswith('-ERR'):
                return answer

    process.stdout.readline()
    for line in ('HOST 127.0.0.1:%d' % port, 'USERNAME ' + user, 'PASSWORD secret', 'BASEDIR ' + folder, 'CONNECT'):
        answer = ask(line)
        if not answer.startswith('+OK'):
            sys.exit('%s: %s: %s' % (tool, line, answer))
    start = time.perf_counter()
    for i in range(FILES):
        answer = ask('PUT f%04d.html' % i)
        if answer != '+OK PUT':
            sys.exit('%s: %s' % (tool, answer))
    seconds = time.perf_counter() - start
    ask('QUIT')
    process.wait()
    return seconds


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    base = tempfile.mkdtemp()
    os.chmod(base, 0o755)
    site = os.path.join(base, 'site')
    os.makedirs(site)
    for i in range(FILES):
        with open(os.path.join(site, 'f%04d.html' % i), 'wb') as f:
            f.write(b'x' * SIZE)
    servers = []
    try:
        for name, start in (('FTP', start_ftp), ('SFTP', start_sftp)):
            if name not in PROTOCOLS:
                continue
            server, port, user = start(base)
            servers.append(server)
            for folder in sys.argv[1:]:
                fresh, again = [], []
                for r in range(RUNS):
                    target = 'run-%s-%d' % (os.path.basename(folder.rstrip('/')), r)
                    known = os.path.join(base, 'known_hosts')
                    fresh.append(run(os.path.join(folder, name), port, user, target, site, known))
                    again.append(run(os.path.join(folder, name), port, user, target, site, known))
                print('%-5s %-24s new files %6.2f s (%5.2f ms a file)   over old files %6.2f s (%5.2f ms a file)' % (
                    name, folder, statistics.median(fresh), statistics.median(fresh) * 1000 / FILES,
                    statistics.median(again), statistics.median(again) * 1000 / FILES))
    finally:
        for server in servers:
            server.terminate()
            server.wait()
        shutil.rmtree(base, ignore_errors=True)


main()
