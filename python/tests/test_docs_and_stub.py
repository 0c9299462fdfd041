"""What people read stays true: the worked session in docs/PYTHON.md runs as shown, and the
type stub names every public class, method and function the module has."""

import ast
import doctest
import inspect
import os
import re
import shutil

import kivfx
from conftest import SOURCE


def test_worked_session_runs_as_documented(demo, tmp_path, monkeypatch):
    text = (SOURCE / "docs" / "PYTHON.md").read_text(encoding="utf-8")
    session = re.search(r"## A worked session.*?```python\n(.*?)```", text, re.S).group(1)
    shutil.copytree(demo, tmp_path / "kfx-demo")
    monkeypatch.chdir(tmp_path)
    test = doctest.DocTestParser().get_doctest(session, {}, "PYTHON.md", "docs/PYTHON.md", 0)
    assert len(test.examples) > 10
    runner = doctest.DocTestRunner(optionflags=doctest.NORMALIZE_WHITESPACE)
    runner.run(test)
    assert runner.summarize(verbose=False).failed == 0


def _stub_names():
    """Each name the stub declares, with the members its class and the class's stub bases declare."""
    tree = ast.parse((SOURCE / "python" / "kivfx" / "__init__.pyi").read_text(encoding="utf-8"))
    own, bases = {}, {}
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            own[node.name] = {n.name for n in node.body if isinstance(n, ast.FunctionDef)} | {
                n.target.id for n in node.body if isinstance(n, ast.AnnAssign)}
            bases[node.name] = [b.id for b in node.bases if isinstance(b, ast.Name)]
        elif isinstance(node, ast.FunctionDef):
            own[node.name] = set()

    def members(name):
        return own.get(name, set()).union(*(members(b) for b in bases.get(name, [])))

    return {name: members(name) for name in own}


def test_stub_names_everything_public():
    stub = _stub_names()
    for name in kivfx.__all__:
        assert name in stub, f"{name} missing from __init__.pyi"
        obj = getattr(kivfx, name)
        if not inspect.isclass(obj) or issubclass(obj, Exception) or name in ("Interpolation", "HandleCoupling"):
            continue
        declared = stub[name]
        public = {m for m in vars(obj) if not m.startswith("_") or m in ("__len__", "__getitem__", "__iter__")}
        assert public <= declared, f"{name}: {sorted(public - declared)} missing from __init__.pyi"
        assert obj.__doc__, f"{name} has no docstring"
    assert os.path.exists(SOURCE / "python" / "kivfx" / "py.typed")
