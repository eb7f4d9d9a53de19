"""Runs one scenario body in a fresh Session and turns its outcome into an
exit status: 0 when it passed, 1 with the reason on stderr when it did not."""

import sys
import traceback

from desktop_session import ScenarioFailure, Session


def run(name, body):
    try:
        with Session(name) as session:
            body(session)
            print(f"{name}: passed (screenshots in {session.artifacts})")
    except ScenarioFailure as failure:
        print(f"{name}: FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
    except Exception:  # a broken step is a failure too, with its trace
        traceback.print_exc()
        sys.exit(1)
