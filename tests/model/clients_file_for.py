#!/usr/bin/env python3
"""Prints the clients.txt that the model expects for a file of answers.

    clients_file_for.py ANSWERS
"""
import sys

import velmora_model

_, written = velmora_model.run(open(sys.argv[1], "rb").read(), b"")
sys.stdout.buffer.write(written or b"")
