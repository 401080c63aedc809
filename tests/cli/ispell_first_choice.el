;;; ispell_first_choice.el --- correct a file with ispell-buffer

;; Run as: emacs -Q --batch -l ispell_first_choice.el SPELLER FILE
;; Checks FILE with `ispell-buffer', SPELLER being the Ispell program,
;; choosing the first suggestion for every misspelled word, and prints the
;; corrected text.  Exits with status 3 when the check itself fails.

(require 'ispell)
(require 'cl-lib)

(let ((speller (pop command-line-args-left))
      (file (pop command-line-args-left)))
  (setq ispell-local-dictionary-alist
        '((nil "[[:alpha:]]" "[^[:alpha:]]" "[']" nil nil nil utf-8)))
  (setq ispell-program-name speller
        ispell-dictionary nil
        ispell-personal-dictionary nil
        ispell-silently-savep t)
  (condition-case failure
      (with-temp-buffer
        (let ((coding-system-for-read 'utf-8))
          (insert-file-contents file))
        (text-mode)
        (cl-letf (((symbol-function 'ispell-command-loop)
                   (lambda (miss _guess _word _start _end) (car miss))))
          (ispell-buffer))
        (princ (buffer-string)))
    (error
     (message "ispell failed: %s" (error-message-string failure))
     (kill-emacs 3))))
