"""Flat-ODS writing and LibreOffice conversion for the fixture and benchmark generators.

Runs under the system python (/usr/bin/python3), the only one that has LibreOffice's uno module.
"""
import importlib.util
import os
import shutil
import subprocess
import tempfile
import time
from xml.sax.saxutils import escape


def ensure_tools(**commands):
    """Installs LibreOffice Calc with its python bridge, and the packages named by keyword for the commands
    given as values, where missing."""
    wanted = {"libreoffice-calc-nogui": shutil.which("soffice"), "python3-uno": importlib.util.find_spec("uno")}
    wanted.update({package: shutil.which(command) for package, command in commands.items()})
    missing = [package for package, found in wanted.items() if not found]
    if missing:
        sudo = [] if os.geteuid() == 0 else ["sudo"]
        subprocess.run(sudo + ["apt-get", "update", "-qq"], check=True)
        subprocess.run(sudo + ["apt-get", "install", "-y", "-qq", "--no-install-recommends"] + missing,
                       check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
"""
TAIL = "</office:spreadsheet></office:body></office:document>\n"

# Line breaks must be character references: literal ones in attributes become blanks when parsed.
ENTITIES = {'"': "&quot;", "\r": "&#13;", "\n": "&#10;"}


def cell(value):
    if value is None:
        return "<table:table-cell/>"
    if isinstance(value, (int, float)):
        return (f'<table:table-cell office:value-type="float" office:value="{value!r}">'
                f"<text:p>{value!r}</text:p></table:table-cell>")
    text = escape(value, ENTITIES)
    # The attribute carries the exact text, blanks and CR LF included; the paragraph is for readers.
    return (f'<table:table-cell office:value-type="string" office:string-value="{text}">'
            f"<text:p>{text}</text:p></table:table-cell>")


def write(path, sheets):
    """sheets: (name, rows) pairs in workbook order; a row is a list of cells, None for an empty one."""
    with open(path, "w", encoding="utf-8") as out:
        out.write(HEAD)
        for name, rows in sheets:
            out.write(f'<table:table table:name="{escape(name, ENTITIES)}">\n')
            for row in rows:
                while row and row[-1] is None:
                    row = row[:-1]
                out.write("<table:table-row>" + "".join(map(cell, row or [None])) + "</table:table-row>\n")
            out.write("</table:table>\n")
        out.write(TAIL)


class Calc:
    """A private headless LibreOffice reached through UNO; its own profile keeps it apart from any
    other LibreOffice running on the machine."""

    def __enter__(self):
        import uno
        self.uno = uno
        self.profile = tempfile.mkdtemp(prefix="calc-profile-")
        pipe = f"calc{os.getpid()}"
        self.proc = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
             "-env:UserInstallation=" + uno.systemPathToFileUrl(self.profile),
             f"--accept=pipe,name={pipe};urp;"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(240):
            try:
                remote = resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
                break
            except Exception:  # not listening yet
                if self.proc.poll() is not None:
                    raise RuntimeError("soffice exited at start")
                time.sleep(0.25)
        else:
            raise RuntimeError("soffice did not answer")
        self.desktop = remote.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", remote)
        return self

    def props(self, **values):
        from com.sun.star.beans import PropertyValue
        return tuple(PropertyValue(Name=k, Value=v) for k, v in values.items())

    def convert(self, src, dst, filter_name="MS Excel 97", prepare=None, **extra):
        """prepare, when given, changes the loaded document before it is stored."""
        url = self.uno.systemPathToFileUrl
        doc = self.desktop.loadComponentFromURL(url(os.path.abspath(src)), "_blank", 0, self.props(Hidden=True))
        try:
            if prepare:
                prepare(doc)
            doc.calculateAll()  # formula results are stored as computed here, not as the source cached them
            doc.storeToURL(url(os.path.abspath(dst)), self.props(FilterName=filter_name, **extra))
        finally:
            doc.close(True)

    def __exit__(self, *exc):
        try:
            self.desktop.terminate()
        except Exception:  # the bridge drops as the office quits
            pass
        try:
            self.proc.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)
