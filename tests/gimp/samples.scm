; SPDX-License-Identifier: MIT
; Script-Fu for GIMP in batch mode (tests/gimp/run.sh). (samples NAME N)
; writes to `port` a line of the gradient NAME's red, green, blue and alpha
; (0 to 1) at the positions i / N, where the renderer draws pixel i. The
; whole vector is written at once: Script-Fu's own loops are slow.
(define (samples name n)
  (let ((at (make-vector n 0.0)))
    (do ((i 0 (+ i 1))) ((= i n))
      (vector-set! at i (/ i n)))
    (display (cadr (gimp-gradient-get-custom-samples name n at FALSE)) port)
    (newline port)))
