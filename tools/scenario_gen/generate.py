#!/usr/bin/env python3
"""Rewrites every file of the bundled demo scenario (scenarios/demo) from scratch.

    python3 tools/scenario_gen/generate.py          everything
    python3 tools/scenario_gen/generate.py --no-movie   all but the clip (which needs ffmpeg)
    python3 tools/scenario_gen/generate.py --no-routes  without the sailing check (a minute)

The output is deterministic: the same generators give the same bytes.
"""

import argparse
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import chart  # noqa: E402
import common  # noqa: E402
import oob  # noqa: E402
import script  # noqa: E402
import units  # noqa: E402
import verify  # noqa: E402


def clear_scenario(keep_movie):
    """Removes the old output so that no file of an earlier version lingers."""
    if not os.path.isdir(common.SCENARIO):
        return
    for entry in os.listdir(common.SCENARIO):
        path = os.path.join(common.SCENARIO, entry)
        if keep_movie and path == common.MOVIE:
            continue
        if os.path.isdir(path):
            shutil.rmtree(path)
        else:
            os.remove(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--no-movie", action="store_true", help="keep the committed clip, do not run ffmpeg")
    parser.add_argument("--no-routes", action="store_true", help="skip the slow check that every fleet can sail")
    args = parser.parse_args()
    if not args.no_movie and shutil.which("ffmpeg") is None:
        print("generate.py: ffmpeg is needed to encode the clip (apt-get install ffmpeg); "
              "with --no-movie the committed clip is kept", file=sys.stderr)
        return 2

    clear_scenario(keep_movie=args.no_movie)
    common.ensure_folders()
    units.write_unit_files()

    mask = chart.land_mask()
    chart.write_chart(mask)
    dist = chart.sea_distance(mask)

    orders = oob.build_orders(mask, dist)
    oob.check_capacities(orders)
    oob.write_side_files(orders)
    script.write_script(oob.create_lines(orders))

    import audio
    import music
    import models
    audio.write_cues(script.EFFECTS)
    music.write_pieces()
    models.write_models()
    if not args.no_movie:
        import movie
        movie.write_clip(script.MOVIE)

    problems = verify.check_scenario(with_routes=not args.no_routes)
    for p in problems:
        print("problem: " + p)
    print("scenario written to %s (%d problems)" % (common.SCENARIO, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
