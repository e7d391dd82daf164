"""Certificates for the https scenarios, made with openssl when the scenarios start.

TestAuthority is a certificate authority of its own; trust() adds it to the system's
trust (which Wine's crypt32 reads from /etc/ssl/certs each time a process opens its root
store) and the returned function takes it out again, so it is trusted for the length of
one test class only. Its files are named tastomat-test-*, which scripts/test.sh removes
at its end too, should a run be killed before the class could clean up.
"""

import os
import ssl
import subprocess

LOCAL_TRUST = "/usr/local/share/ca-certificates"
SYSTEM_CERTS = "/etc/ssl/certs"


def _openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, capture_output=True, timeout=120)


class TestAuthority:
    def __init__(self, folder, name):
        self.folder = folder
        self.name = name
        self.cert = os.path.join(folder, f"{name}.crt")
        self.key = os.path.join(folder, f"{name}.key")
        _openssl("req", "-x509", "-new", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                 "-subj", f"/CN={name}", "-keyout", self.key, "-out", self.cert,
                 "-addext", "basicConstraints=critical,CA:TRUE",
                 "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)

    def server_context(self, host):
        """An ssl context that presents a certificate for host, issued by this authority."""
        stem = os.path.join(self.folder, f"{self.name}-{host}")
        extensions = stem + ".ext"
        with open(extensions, "w", encoding="ascii") as f:
            f.write(f"subjectAltName=DNS:{host}\nextendedKeyUsage=serverAuth\n"
                    "basicConstraints=CA:FALSE\n")
        _openssl("req", "-new", "-newkey", "rsa:2048", "-nodes", "-subj", f"/CN={host}",
                 "-keyout", stem + ".key", "-out", stem + ".csr", cwd=self.folder)
        _openssl("x509", "-req", "-in", stem + ".csr", "-CA", self.cert, "-CAkey", self.key,
                 "-CAcreateserial", "-days", "2", "-extfile", extensions, "-out", stem + ".crt",
                 cwd=self.folder)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(stem + ".crt", stem + ".key")
        return context

    def trust(self):
        """Adds the authority to the system's trust; returns what takes it out again."""
        installed = os.path.join(LOCAL_TRUST, f"tastomat-test-{self.name}-{os.getpid()}.crt")
        os.makedirs(LOCAL_TRUST, exist_ok=True)
        with open(self.cert, "rb") as src, open(installed, "wb") as dst:
            dst.write(src.read())
        subprocess.run(["update-ca-certificates"], check=True, capture_output=True, timeout=300)

        def distrust():
            # update-ca-certificates rebuilds the bundle but leaves the links to a removed
            # file behind; they go first, while they still lead to it.
            for name in os.listdir(SYSTEM_CERTS):
                link = os.path.join(SYSTEM_CERTS, name)
                if os.path.islink(link) and os.path.realpath(link) == installed:
                    os.remove(link)
            if os.path.exists(installed):
                os.remove(installed)
            subprocess.run(["update-ca-certificates"], check=True, capture_output=True,
                           timeout=300)
        return distrust
